#pragma once

#include "CommPara.h"

#include <QDialog>

#include <vector>

class CNumEditCtrl;
class CPLCEntity;
class CPLCFactory;
class QComboBox;
class QLabel;
class QPushButton;

// "驱动设置": the project's PLC and the serial parameters of the panel. It works on copies
// and hands the choice out; the caller applies it to the project.
class DlgDriverSetting : public QDialog {
    Q_OBJECT

public:
    // `current` is the project's PLC, or none for a new project; `comm` the project's
    // communication parameters, shown when a PLC is given (otherwise the defaults of the PLC
    // chosen last are shown).
    DlgDriverSetting(const CPLCFactory& catalog, const CPLCEntity* current, const CCommPara& comm,
                     QWidget* parent = nullptr);

    // After OK: the chosen PLC, whether it differs from `current`, and the parameters with the
    // dialog's values.
    const CPLCEntity* GetPLC() const { return m_pChosen; }
    bool IsChanged() const { return m_bChanged; }
    const CCommPara& GetCommPara() const { return m_CommPara; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const CPLCEntity* SelectedPLC() const;
    void Select(const CPLCEntity* plc);
    void TakeDefaults(const CPLCEntity& plc);
    void ShowParameters(const CPLCEntity* plc);
    void OnPLCChosen();

    const CPLCEntity* m_pInput;
    std::vector<const CPLCEntity*> m_plcs; // the PLC list's entries, in list order
    CCommPara m_CommPara;
    const CPLCEntity* m_pChosen = nullptr;
    bool m_bChanged = false;
    bool m_bMissingPLC = false; // neither the project's nor the last chosen PLC is known

    QComboBox* m_pPLCList;
    QComboBox* m_pBaudList;
    QComboBox* m_pDataBitList;
    QComboBox* m_pStopBitList;
    QComboBox* m_pParityList;
    QComboBox* m_pSerialTypeList;
    QLabel* m_pStationLabel;
    CNumEditCtrl* m_pStation;
    QPushButton* m_pDefaults;
    QPushButton* m_pOK;
};
