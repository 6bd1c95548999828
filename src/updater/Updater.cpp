#include "Updater.h"

#include "DlgAutoCheckUpdate.h"
#include "DlgAutoSetUpdate.h"

#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QThread>
#include <QUrl>
#include <QWidget>

CUpdater::CUpdater(QWidget& window, const QString& programFolder,
                   std::function<void()> saveModified, std::function<void()> endProgram,
                   QObject* parent)
    : QObject(parent), m_window(window), m_programFolder(programFolder),
      m_saveModified(std::move(saveModified)), m_endProgram(std::move(endProgram)),
      m_versions(ReadVersionComponent(programFolder)) {
    m_settings.url = ConfiguredServer(ConfigPath());
}

CUpdater::~CUpdater() {
    if (m_pDialog) {
        m_pDialog->disconnect(this);
        delete m_pDialog;
    }
    if (m_checkThread) {
        m_abort = true;
        m_checkThread->wait();
    }
}

QString CUpdater::ConfigPath() const {
    return QDir(m_programFolder).filePath(QStringLiteral("config.dll"));
}

void CUpdater::StartCheck() {
    if (m_checkThread)
        return;
    m_abort = false;
    m_checkThread.reset(QThread::create([this, folder = m_programFolder, previous = m_settings] {
        const UpdateCheckResult result = RunUpdateCheck(folder, previous, m_abort);
        QMetaObject::invokeMethod(
            this, [this, result] { OnCheckResult(result); }, Qt::QueuedConnection);
    }));
    m_checkThread->start();
}

void CUpdater::CheckNow() {
    m_bManualCheck = true;
    StartCheck();
}

void CUpdater::OnCheckResult(const UpdateCheckResult& result) {
    m_checkThread->wait();
    m_checkThread.reset();
    m_settings = result.settings;
    m_versions.version = result.versions.version;
    if (result.versions.loaded)
        m_versions.display = result.versions.display;
    const bool autoCheck = ReadAutoCheck(ConfigPath());
    if (result.available) {
        if (autoCheck)
            ShowUpdate();
    } else if (m_bManualCheck) {
        if (autoCheck)
            QMessageBox::warning(&m_window, QStringLiteral("提示"),
                                 QStringLiteral("当前已经最新版本！"));
        m_bManualCheck = false;
    }
    emit checkFinished(result.available);
}

void CUpdater::ShowUpdate() {
    if (m_pDialog)
        return;
    m_pDialog = new DlgAutoCheckUpdate(m_settings, m_versions.display, m_programFolder, &m_window);
    if (m_settings.type > 1)
        m_window.hide();
    connect(m_pDialog, &QDialog::finished, this, &CUpdater::OnUpdateClosed);
    m_pDialog->setWindowModality(Qt::ApplicationModal);
    m_pDialog->show();
}

void CUpdater::OnUpdateClosed(int result) {
    const QString installer = m_pDialog->Installer();
    m_pDialog->deleteLater();
    m_pDialog = nullptr;
    if (result == QDialog::Accepted) {
        m_saveModified();
        QDesktopServices::openUrl(QUrl::fromLocalFile(installer));
        m_endProgram();
        return;
    }
    m_window.showMaximized();
    if (m_settings.type == 2) {
        m_saveModified();
        m_endProgram();
    }
}

void CUpdater::ShowSettings() {
    DlgAutoSetUpdate dialog(ConfigPath(), m_versions.display, &m_window);
    connect(&dialog, &DlgAutoSetUpdate::checkNow, this, &CUpdater::CheckNow);
    dialog.exec();
}
