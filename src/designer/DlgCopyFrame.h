#pragma once

#include <QDialog>

class CNumEditCtrl;

// "复制画面": the number a copy of a frame gets. It only asks; the caller copies the frame.
class DlgCopyFrame : public QDialog {
    Q_OBJECT

public:
    // `source` is the number of the frame to copy, `number` the one the frame counter proposes.
    DlgCopyFrame(int source, int number, QWidget* parent = nullptr);

    // After OK: a number from 1 to 65535 other than the source's.
    int GetNumber() const { return m_nNumber; }

    // Keeps the dialog open on the source's own number or one outside 1..65535.
    void accept() override;

private:
    CNumEditCtrl* m_pNumber;
    int m_nSource;
    int m_nNumber;
};
