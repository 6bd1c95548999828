#pragma once

#include <QDialog>

#include <map>
#include <set>
#include <tuple>

class CGraphBase;
class CHMIFrame;
class CKoravelDoc;
class CKoravelWnd;
class CPLCAddress;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTableWidget;

// The element usage table: every element of one frame or of all frames with its kind and PLC
// address. A click on a row shows the element selected on its frame; the four buttons restack
// it. Created hidden with the view and kept for the whole run; its close box only hides it.
class DlgAddressList : public QDialog {
    Q_OBJECT

public:
    DlgAddressList(CKoravelDoc& doc, CKoravelWnd& canvas, QWidget* parent = nullptr);

    // The command: all frames listed, the dialog shown.
    void ShowTable();
    // The list again from the project, the chosen element's rows selected.
    void Refill();

    QTableWidget& List() const { return *m_pList; }

private:
    enum class Mode { AllFrames, GivenFrame };
    // Identifies a piece of PLC memory independently of how wide it is read.
    using MemoryKey = std::tuple<int, QString, int, int, int, int>;

    void OnGivenFrame();
    void OnAllFrames();
    void OnFrameChosen();
    void OnRowClicked(int row);
    void OnStacking(int stacking);
    void FillCombo();
    void FillRows(const QList<CHMIFrame*>& frames);
    void CountUses();
    QString Notes(const CPLCAddress& address) const;
    void ApplyFilter();
    // Whether `element` is still in `frame` of the open project.
    bool Exists(const CHMIFrame* frame, const CGraphBase* element) const;
    CHMIFrame* ComboFrame() const;

    CKoravelDoc& m_doc;
    CKoravelWnd& m_canvas;
    QTableWidget* m_pList;
    QRadioButton* m_pGiven;
    QRadioButton* m_pAll;
    QComboBox* m_pFrames;
    QLineEdit* m_pFilter;

    Mode m_mode = Mode::AllFrames;
    CHMIFrame* m_pChosenFrame = nullptr;
    CGraphBase* m_pChosen = nullptr;

    // Per piece of memory: the widths it is read with, and how many keys write it.
    std::map<MemoryKey, std::set<int>> m_widths;
    std::map<MemoryKey, int> m_keyWrites;
};
