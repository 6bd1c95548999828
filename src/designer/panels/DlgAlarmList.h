#pragma once

#include <QDialog>

#include <memory>

class CAddressGroup;
class CAlarmList;
class CColourGroup;
class CEditableGrid;
class CFontGroup;
class CKoravelDoc;
class CPLCEntity;
class QCheckBox;

// "报警列表": the project's alarm list, edited on a copy. OK hands the copy over for the
// document to take as one command; Cancel leaves the project as it was.
class DlgAlarmList : public QDialog {
    Q_OBJECT

public:
    // `alarmList` is the project's, or null when it has none yet (the dialog then starts from
    // a new one).
    DlgAlarmList(const CAlarmList* alarmList, const CPLCEntity* plc, QWidget* parent = nullptr);
    ~DlgAlarmList() override;

    // The alarm list as the dialog leaves it.
    const CAlarmList& AlarmList() const { return *m_pList; }
    std::unique_ptr<CAlarmList> TakeAlarmList();

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Show();
    void ShowLabels();
    void ReadTexts();

    std::unique_ptr<CAlarmList> m_pList;
    const CPLCEntity* m_pPlc;
    CColourGroup* m_pColours;
    QCheckBox* m_pBackground;
    CFontGroup* m_pFont;
    CAddressGroup* m_pAddress;
    CEditableGrid* m_pGrid;
};

// The alarm list command: the dialog on the project's alarm list; what it leaves with OK
// becomes the project's in one undoable step.
void EditAlarmList(CKoravelDoc& doc, QWidget* parent);
