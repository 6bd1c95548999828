#pragma once

#include "BatchPublish.h"
#include "BatchToolSettings.h"

#include <QDialog>
#include <QString>

#include <thread>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The batch tool dialog "项目发布 —— 制作批量下载工具V1.0", opened after a publish preparation
// has left "Varnel.hmi" in the program folder. Its settings come from and go to
// "batchtool_config.dll"; "立即制作发布程序" asks where to write and generates the batch tool
// (or its ZIP delivery) on a worker; any number of tools can be made from one preparation.
// Closing it waits for a generation still running and removes the publish folders.
class DlgBatchTool : public QDialog {
    Q_OBJECT

public:
    // `plcId` is the project's PLC: only the integrated PLC takes a ladder program.
    DlgBatchTool(const QString& programFolder, int plcId, QWidget* parent = nullptr);
    ~DlgBatchTool() override;

    void done(int result) override;

protected:
    // Enter and Escape would end the dialog without its button; they are swallowed.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSettings();
    BatchToolSettings SettingsFromControls() const;
    void OnChoosePlcProgram();
    void OnMake();
    void Generated(const PublishResult& result, bool zip);
    void JoinGeneration();

    QString m_strProgramFolder;
    int m_nPlcId;
    QLineEdit* m_pTitle;
    QLineEdit* m_pVersion;
    QCheckBox* m_pLogin;
    QLineEdit* m_pPassword;
    QCheckBox* m_pZip;
    QLineEdit* m_pPlcFile;
    QPushButton* m_pChoosePlc;
    QPushButton* m_pMake;
    std::thread m_generation;
};
