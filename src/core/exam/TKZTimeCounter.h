#pragma once

#include <QString>
#include <QTimer>

// The exam clock: a timer that ticks just after each whole second of the
// time elapsed since its last reset, and counts that time whether or not it
// is enabled. What it shows is measured from the reset, never counted in ticks.
class TKZTimeCounter : public QTimer
{
    Q_OBJECT
public:
    explicit TKZTimeCounter(QObject* parent = nullptr);

    bool Enabled() const { return isActive(); }
    void setEnabled(bool enabled);

    bool Counting() const { return m_counting; }
    void setCounting(bool counting);
    QString Elapsed() const;
    void setElapsed(const QString& text) { m_elapsedText = text; } // stored, never read back
    void Reset();
    // Counts on from an elapsed time (in days), as for an exam given back.
    void ResetTo(double elapsed);

private:
    void aimAtNextSecond();

    bool m_counting = true;
    double m_startTime = 0;
    double m_pausedElapsed = 0;
    QString m_elapsedText;
};
