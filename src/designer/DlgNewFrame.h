#pragma once

#include <QDialog>

class CNumEditCtrl;
class QLineEdit;

// "新建画面": the number and description of a new frame. It only asks; the caller makes the
// frame.
class DlgNewFrame : public QDialog {
    Q_OBJECT

public:
    // `number` is the number proposed by the project's frame counter.
    explicit DlgNewFrame(int number, QWidget* parent = nullptr);

    // After OK: a number from 1 to 60000 and a description of at most 256 characters.
    int GetNumber() const { return m_nNumber; }
    QString GetDesc() const;

    // Keeps the dialog open while the number lies outside 1..60000.
    void accept() override;

private:
    CNumEditCtrl* m_pNumber;
    QLineEdit* m_pDesc;
    int m_nNumber;
};
