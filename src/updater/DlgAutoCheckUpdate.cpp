#include "DlgAutoCheckUpdate.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>

namespace {

const QString kCaption = QStringLiteral("提示");
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(0x64, 0x64, 0x64);

QLabel* ColouredLabel(const QString& name, const QString& text, const QColor& colour) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(false); // on the dialog's own background
    return label;
}

QString FailureMessage(int code) {
    return QStringLiteral("[%1] 下载失败，请去Varnel官网下载最新版本！").arg(code);
}

} // namespace

DlgAutoCheckUpdate::DlgAutoCheckUpdate(const UpdateSettings& settings,
                                       const QString& displayVersion, const QString& programFolder,
                                       QWidget* parent)
    : QDialog(parent), m_settings(settings), m_programFolder(programFolder),
      m_pStatus(ColouredLabel(QStringLiteral("status"),
                              QStringLiteral("如果没反应，请打开Varnel官网下载"), kGrey)),
      m_pProgress(new QProgressBar),
      m_pAutoCheck(new QCheckBox(QStringLiteral("每次启动软件都检查最新版本"))),
      m_pStart(new QPushButton(QStringLiteral("开始更新"))),
      m_pCancel(new QPushButton(QStringLiteral("取消"))) {
    setObjectName(QStringLiteral("dlgAutoCheckUpdate"));
    setWindowTitle(settings.title.isEmpty() ? QStringLiteral("软件自动更新") : settings.title);
    m_pStatus->setWordWrap(true);
    m_pStatus->setMinimumWidth(260);
    m_pProgress->setObjectName(QStringLiteral("progress"));
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    const QString config = QDir(programFolder).filePath(QStringLiteral("config.dll"));
    m_pAutoCheck->setObjectName(QStringLiteral("autoCheck"));
    m_pAutoCheck->setChecked(ReadAutoCheck(config));
    connect(m_pAutoCheck, &QCheckBox::toggled, this,
            [config](bool on) { WriteAutoCheck(config, on); });
    m_pStart->setObjectName(QStringLiteral("startButton"));
    m_pStart->setDefault(true);
    m_pCancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_pStart, &QPushButton::clicked, this, &DlgAutoCheckUpdate::OnStart);
    connect(m_pCancel, &QPushButton::clicked, this, &DlgAutoCheckUpdate::reject);
    connect(&m_download, &CUpdateDownload::statusChanged, this, &DlgAutoCheckUpdate::SetStatus);
    connect(&m_download, &CUpdateDownload::progressChanged, m_pProgress, &QProgressBar::setValue);
    connect(&m_download, &CUpdateDownload::finished, this, &DlgAutoCheckUpdate::OnFinished);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("当前版本:")), 0, 0);
    grid->addWidget(ColouredLabel(QStringLiteral("currentVersion"), displayVersion, kBlue), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("最新版本:")), 1, 0);
    grid->addWidget(ColouredLabel(QStringLiteral("latestVersion"), settings.ver2, kRed), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("下载状态:")), 2, 0, Qt::AlignTop);
    grid->addWidget(m_pStatus, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("更新进度:")), 3, 0);
    grid->addWidget(m_pProgress, 3, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pAutoCheck);
    buttons->addStretch();
    buttons->addWidget(m_pStart);
    buttons->addWidget(m_pCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_pStart->setFocus();
}

void DlgAutoCheckUpdate::OnStart() {
    DownloadJob job;
    job.url = InstallerUrl(m_settings);
    job.installer = QDir(m_programFolder).filePath(DownloadedInstallerName(m_settings));
    const QString name = DesktopCopyName(m_settings);
    if (!name.isEmpty())
        job.desktopCopy =
            QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)).filePath(name);
    job.sha256 = m_settings.sha256;
    m_pStart->setEnabled(false);
    m_pCancel->setEnabled(true);
    SetStatus(QStringLiteral("正在校验下载地址..."));
    m_download.Start(job);
}

void DlgAutoCheckUpdate::OnFinished(DownloadOutcome outcome, const QString& text) {
    switch (outcome) {
    case DownloadOutcome::Completed:
        RemoveUpdateFolder();
        SetStatus(QStringLiteral("下载完成，即将安装！"));
        m_pStart->setEnabled(true);
        m_installer = text;
        accept();
        return;
    case DownloadOutcome::Cancelled:
        SetStatus(QStringLiteral("下载时已被用户取消！"));
        break;
    case DownloadOutcome::NetworkError:
        // The designer goes on: the user may try again or close the dialog.
        SetStatus(text);
        RemoveUpdateFolder();
        break;
    case DownloadOutcome::DeleteFailed:
        QMessageBox::information(this, kCaption, FailureMessage(1));
        break;
    case DownloadOutcome::WriteFailed:
        QMessageBox::information(this, kCaption, FailureMessage(2));
        break;
    case DownloadOutcome::Refused:
        SetStatus(QStringLiteral("安装文件校验失败！"));
        QMessageBox::information(
            this, kCaption, QStringLiteral("[3] 安装文件校验失败，请去Varnel官网下载最新版本！"));
        break;
    case DownloadOutcome::CopyFailed:
        QMessageBox::information(
            this, kCaption,
            QStringLiteral("[4] 安装文件复制到桌面失败，请去Varnel官网下载最新版本！"));
        break;
    }
    SetReady();
}

void DlgAutoCheckUpdate::reject() {
    RemoveUpdateFolder();
    if (m_download.IsRunning()) {
        m_download.Cancel();
        return;
    }
    QDialog::reject();
}

void DlgAutoCheckUpdate::SetReady() {
    m_pStart->setEnabled(true);
    m_pCancel->setEnabled(false);
}

void DlgAutoCheckUpdate::SetStatus(const QString& text) {
    m_pStatus->setText(text);
}

void DlgAutoCheckUpdate::RemoveUpdateFolder() const {
    QDir(QDir(m_programFolder).filePath(QStringLiteral("update"))).removeRecursively();
}
