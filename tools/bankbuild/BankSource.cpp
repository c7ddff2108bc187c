#include "BankSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

bool BankSource::readFolder(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        m_errors << QStringLiteral("%1: no such folder").arg(folder);
        return false;
    }
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        m_errors << QStringLiteral("%1: no *.json files").arg(folder);
        return false;
    }
    bool ok = true;
    for (const QString& f : files)
        ok = readFile(dir.filePath(f)) && ok;
    return ok;
}

bool BankSource::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors << QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return parse(file.readAll(), QFileInfo(path).fileName());
}

bool BankSource::parse(const QByteArray& json, const QString& fileName)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        m_errors << QStringLiteral("%1: not valid JSON at offset %2: %3")
                        .arg(fileName)
                        .arg(error.offset)
                        .arg(error.errorString());
        return false;
    }
    if (!doc.isArray()) {
        m_errors << QStringLiteral("%1: the file must hold an array of items").arg(fileName);
        return false;
    }
    bool ok = true;
    const QJsonArray array = doc.array();
    for (int i = 0; i < array.size(); ++i) {
        const QJsonObject object = array.at(i).toObject();
        const QString origin = object.contains(QStringLiteral("id"))
                                   ? QStringLiteral("%1, item %2")
                                         .arg(fileName)
                                         .arg(object.value(QStringLiteral("id")).toVariant().toString())
                                   : QStringLiteral("%1, entry %2").arg(fileName).arg(i + 1);
        if (!array.at(i).isObject()) {
            m_errors << QStringLiteral("%1: an item must be an object").arg(origin);
            ok = false;
            continue;
        }
        BankItem item;
        item.file = fileName;
        if (parseItem(object, origin, &item))
            m_items << item;
        else
            ok = false;
    }
    return ok;
}

bool BankSource::parseItem(const QJsonObject& o, const QString& origin, BankItem* item)
{
    const int before = int(m_errors.size());
    item->origin = origin;
    auto integer = [&](const char* key, int* out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isDouble() || v.toDouble() != double(v.toInt())) {
            m_errors << QStringLiteral("%1: \"%2\" must be an integer").arg(origin, QLatin1String(key));
            return;
        }
        *out = v.toInt();
    };
    auto text = [&](const char* key, QString* out, bool required) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() && !required)
            return;
        if (!v.isString()) {
            m_errors << QStringLiteral("%1: \"%2\" must be a text").arg(origin, QLatin1String(key));
            return;
        }
        *out = v.toString();
    };
    static const QSet<QString> known = {
        QStringLiteral("id"),       QStringLiteral("exam"),        QStringLiteral("section"),
        QStringLiteral("multiple"), QStringLiteral("question"),    QStringLiteral("choices"),
        QStringLiteral("correct"),  QStringLiteral("explanation"), QStringLiteral("sim"),
        QStringLiteral("pict1"),    QStringLiteral("pict2"),       QStringLiteral("memo")};
    for (const QString& key : o.keys()) {
        if (!known.contains(key))
            m_errors << QStringLiteral("%1: unknown field \"%2\"").arg(origin, key);
    }
    integer("id", &item->id);
    integer("exam", &item->exam);
    integer("section", &item->section);
    const QJsonValue multiple = o.value(QStringLiteral("multiple"));
    if (!multiple.isBool())
        m_errors << QStringLiteral("%1: \"multiple\" must be true or false").arg(origin);
    item->multiple = multiple.toBool();
    text("question", &item->question, true);
    text("explanation", &item->explanation, true);
    text("sim", &item->sim, false);
    text("pict1", &item->pict1, false);
    text("pict2", &item->pict2, false);
    text("memo", &item->memo, false);

    const QJsonValue choices = o.value(QStringLiteral("choices"));
    if (!choices.isArray()) {
        m_errors << QStringLiteral("%1: \"choices\" must be a list of texts").arg(origin);
    } else {
        const QJsonArray list = choices.toArray();
        if (list.size() > 6)
            m_errors << QStringLiteral("%1: an item has at most six choices (found %2)")
                            .arg(origin)
                            .arg(list.size());
        for (const QJsonValue& c : list) {
            if (!c.isString())
                m_errors << QStringLiteral("%1: every choice must be a text").arg(origin);
            else if (c.toString().contains(QLatin1Char('\n')))
                m_errors << QStringLiteral("%1: a choice is a single line").arg(origin);
            item->choices << c.toString();
        }
    }
    const QJsonValue correct = o.value(QStringLiteral("correct"));
    if (!correct.isArray()) {
        m_errors << QStringLiteral("%1: \"correct\" must be a list of choice letters").arg(origin);
    } else {
        for (const QJsonValue& c : correct.toArray()) {
            const QString letter = c.toString();
            if (letter.size() != 1 || letter.at(0) < QLatin1Char('a') || letter.at(0) > QLatin1Char('f')) {
                m_errors << QStringLiteral("%1: \"%2\" is not a choice letter a to f").arg(origin, letter);
                continue;
            }
            item->correct[letter.at(0).unicode() - 'a'] = true;
        }
    }
    return m_errors.size() == before;
}

bool BankSource::checkInvariants(const QString& programDir)
{
    const int before = int(m_errors.size());
    std::sort(m_items.begin(), m_items.end(),
              [](const BankItem& a, const BankItem& b) { return a.id < b.id; });
    for (int i = 0; i < m_items.size(); ++i) {
        const BankItem& item = m_items.at(i);
        if (item.id != i + 1) {
            if (i > 0 && m_items.at(i - 1).id == item.id)
                m_errors << QStringLiteral("%1: Q_ID %2 is used twice").arg(item.origin).arg(item.id);
            else
                m_errors << QStringLiteral("%1: Q_ID must run 1, 2, 3 ... without gaps; expected %2 here")
                                .arg(item.origin)
                                .arg(i + 1);
            break;
        }
    }
    for (const BankItem& item : std::as_const(m_items)) {
        if (item.section < 1 || item.section > 6)
            m_errors
                << QStringLiteral("%1: Q_SECT must be 1 to 6 (found %2)").arg(item.origin).arg(item.section);
        if (item.exam < 0)
            m_errors << QStringLiteral("%1: Q_EXAM_N must not be negative (found %2)")
                            .arg(item.origin)
                            .arg(item.exam);
        if (!item.pict2.isEmpty() && item.pict1.isEmpty())
            m_errors << QStringLiteral("%1: an item with exhibit 2 needs exhibit 1").arg(item.origin);
        if (!programDir.isEmpty()) {
            for (const QString& pict : {item.pict1, item.pict2}) {
                if (!pict.isEmpty() && !QFileInfo(QDir(programDir).filePath(pict)).isFile())
                    m_errors << QStringLiteral("%1: the exhibit %2 does not exist").arg(item.origin, pict);
            }
        }
    }
    return m_errors.size() == before;
}
