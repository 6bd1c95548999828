#pragma once

#include "KoravelSetting.h"

#include <QDialog>

#include <vector>

class CNumEditCtrl;
class CPLCEntity;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// "文本显示器设置": the panel settings. It works on a copy of the settings and hands it out;
// the caller applies it to the project.
//
// Like the panel itself, the copy takes some values at once: the start and screen-saver
// frames clamped when the dialog opens, and the control register switches, type and address
// whenever they change. OK then takes every other field too; Cancel keeps only those.
class DlgKoravelSetting : public QDialog {
    Q_OBJECT

public:
    // `plc` is the project's PLC, `highestFrame` the project's highest frame number.
    DlgKoravelSetting(const CKoravelSetting& setting, const CPLCEntity& plc, int highestFrame,
                      QWidget* parent = nullptr);

    // The settings as the dialog left them: after OK with every field, after Cancel with what
    // was taken at once.
    const CKoravelSetting& GetSetting() const { return m_Setting; }

    void accept() override;

protected:
    // Enter and Escape move the focus like Tab; they never close the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* FrameBox(int highestFrame);
    QWidget* SaverBox(int highestFrame);
    QWidget* StartUpBox(int highestFrame);
    QWidget* RegisterBox(const CPLCEntity& plc);
    void SelectType();
    void OnTypeChosen(int index);
    void OnAddressEdited(std::int64_t value);
    void OnUseClock(bool on);
    void OnUseFrame(bool on);
    void BindAddress();
    void ShowRegisters();

    CKoravelSetting m_Setting;
    std::vector<const CPLCRegType*> m_types; // the type list's entries

    CNumEditCtrl* m_pBeginFrame = nullptr;
    CNumEditCtrl* m_pPassWord = nullptr;
    CNumEditCtrl* m_pWaitTime = nullptr;
    QRadioButton* m_pShowFrame = nullptr;
    QRadioButton* m_pBackLight = nullptr;
    CNumEditCtrl* m_pSaverFrame = nullptr;
    QCheckBox* m_pUseFrame = nullptr;
    std::vector<QWidget*> m_startUpFields; // shown only with UseFrame
    CNumEditCtrl* m_pUseFrameIndex = nullptr;
    CNumEditCtrl* m_pUseFrameSecond = nullptr;
    QCheckBox* m_pCanOffline = nullptr;
    CNumEditCtrl* m_pStation = nullptr;
    QComboBox* m_pType = nullptr;
    CNumEditCtrl* m_pAddress = nullptr;
    QCheckBox* m_pAutoChange = nullptr;
    QLabel* m_pAutoChangeText = nullptr;
    QCheckBox* m_pReportFrame = nullptr;
    QLabel* m_pReportFrameText = nullptr;
    QCheckBox* m_pUseClock = nullptr;
    QLabel* m_pUseClockText = nullptr;
    QCheckBox* m_pUseClockOld = nullptr;
    QLabel* m_pClockText = nullptr;
};
