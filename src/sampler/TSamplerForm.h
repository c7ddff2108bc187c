#pragma once

#include <QDialog>

class QListWidget;
class QTabWidget;
class QLabel;

// The test sampler, where the candidate's own question set is kept.
class TSamplerForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSamplerForm(QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QListWidget* ListBox1 = nullptr; // the six sections
    QLabel* StatusLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

public:
    // Every way of closing (close box, Esc) comes here.
    void done(int result) override;
};

extern TSamplerForm* SamplerForm;
