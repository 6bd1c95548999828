#include "DlgDownStatus.h"

#include "PLCEntity.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

DlgDownStatus::DlgDownStatus(CompileOutputs outputs, const CPLCEntity* plc, QWidget* parent)
    : QDialog(parent), m_pPlc(plc), m_pFileBar(new QProgressBar), m_pOverallBar(new QProgressBar),
      m_pFileText(new QLabel(QStringLiteral("0/0"))),
      m_pOverallText(new QLabel(QStringLiteral("1/1"))), m_pLog(new QListWidget),
      m_pStart(new QPushButton(QStringLiteral("开始下载"))),
      m_pClose(new QPushButton(QStringLiteral("关闭窗口"))) {
    m_job.image = std::move(outputs.image);
    m_job.driver = std::move(outputs.driver);
    m_job.plcId = plc ? plc->GetProtocolID() : 0;
    m_job.loadDriver = [this](const QString& fileName) { return LoadModelDriver(fileName); };
    m_job.confirmRunningPlc = [this] { return ConfirmRunningPlc(); };

    setObjectName(QStringLiteral("downloadDialog"));
    setWindowTitle(QStringLiteral("下载进度"));
    m_pFileBar->setObjectName(QStringLiteral("fileBar"));
    m_pOverallBar->setObjectName(QStringLiteral("overallBar"));
    m_pFileText->setObjectName(QStringLiteral("fileText"));
    m_pOverallText->setObjectName(QStringLiteral("overallText"));
    m_pLog->setObjectName(QStringLiteral("logList"));
    m_pStart->setObjectName(QStringLiteral("startButton"));
    m_pClose->setObjectName(QStringLiteral("closeButton"));
    for (QProgressBar* bar : {m_pFileBar, m_pOverallBar}) {
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
    }
    for (QLabel* text : {m_pFileText, m_pOverallText})
        text->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000/0000")));
    for (QPushButton* button : {m_pStart, m_pClose})
        button->setAutoDefault(false);

    auto* bars = new QGridLayout;
    bars->addWidget(new QLabel(QStringLiteral("当前进度:")), 0, 0);
    bars->addWidget(m_pFileBar, 0, 1);
    bars->addWidget(m_pFileText, 0, 2);
    bars->addWidget(new QLabel(QStringLiteral("总体进度:")), 1, 0);
    bars->addWidget(m_pOverallBar, 1, 1);
    bars->addWidget(m_pOverallText, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pStart);
    buttons->addWidget(m_pClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bars);
    layout->addWidget(m_pLog);
    layout->addLayout(buttons);
    resize(480, 320);

    connect(m_pStart, &QPushButton::clicked, this, &DlgDownStatus::StartDownload);
    connect(m_pClose, &QPushButton::clicked, this, &DlgDownStatus::reject);
}

DlgDownStatus::~DlgDownStatus() {
    m_closing = true;
    m_worker.Abort();
    m_worker.Wait();
}

void DlgDownStatus::StartDownload() {
    if (m_bRunning)
        return;
    m_bRunning = true;
    m_pStart->setEnabled(false);
    m_worker.Start(m_job, *this, [this] { Post([this] { DownloadEnded(); }); });
}

void DlgDownStatus::DownloadEnded() {
    m_worker.Wait();
    m_bRunning = false;
    emit downloadEnded();
    if (m_closing)
        QDialog::reject();
}

void DlgDownStatus::reject() {
    if (!m_bRunning) {
        QDialog::reject();
        return;
    }
    if (m_closing)
        return;
    // The download stops at its next step; the dialog ends when the worker has.
    m_closing = true;
    m_worker.Abort();
    m_pStart->setEnabled(false);
    m_pClose->setEnabled(false);
    AddDownloadLog(QStringLiteral("正在停止下载，请稍候..."));
}

void DlgDownStatus::Post(std::function<void()> change) {
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

bool DlgDownStatus::ConfirmRunningPlc() {
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> answered = answer->get_future();
    Post([this, answer] {
        const auto button = QMessageBox::question(
            this, QStringLiteral("安全提示"),
            QStringLiteral("一体机PLC正在运行，是否强制下载？\n\n提示：为了安全起见，"
                           "建议关闭PLC后再下载！"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        answer->set_value(button == QMessageBox::Yes);
    });
    while (answered.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (m_closing)
            return false;
    }
    return answered.get();
}

// The panels with an integrated PLC name the driver variant they take; the compiler's driver
// loader checks it as every driver is checked.
std::optional<QByteArray> DlgDownStatus::LoadModelDriver(const QString& fileName) {
    QByteArray driver;
    QString error;
    QStringList log;
    const bool loaded = LoadDriverVariantNamed(m_pPlc, fileName, driver, error, log);
    for (const QString& line : log)
        AddDownloadLog(line);
    if (!error.isEmpty())
        Post([this, error] { QMessageBox::information(this, QStringLiteral("designer"), error); });
    if (!loaded)
        return std::nullopt;
    return driver;
}

void DlgDownStatus::ResetDownloadPanel() {
    Post([this] {
        m_pLog->clear();
        for (QProgressBar* bar : {m_pFileBar, m_pOverallBar}) {
            bar->setRange(0, 100);
            bar->setValue(0);
        }
        m_pFileText->setText(QStringLiteral("0/0"));
        m_pOverallText->setText(QStringLiteral("1/1"));
    });
}

void DlgDownStatus::AddLogLine(const QString& line) {
    Post([this, line] {
        m_pLog->addItem(line);
        m_pLog->setCurrentRow(m_pLog->count() - 1);
    });
}

void DlgDownStatus::SetFileProgressRange(int size) {
    Post([this, size] {
        m_pFileBar->setRange(0, size);
        m_pFileBar->setValue(0);
    });
}

void DlgDownStatus::SetFileProgressPos(int pos) {
    Post([this, pos] { m_pFileBar->setValue(pos); });
}

void DlgDownStatus::SetOverallProgressPos(int pos) {
    Post([this, pos] { m_pOverallBar->setValue(pos); });
}

void DlgDownStatus::SetFileProgressText(const QString& text) {
    Post([this, text] { m_pFileText->setText(text); });
}

void DlgDownStatus::SetOverallProgressText(const QString& text) {
    Post([this, text] { m_pOverallText->setText(text); });
}

void DlgDownStatus::EnableDownloadButtons(bool busy) {
    Post([this, busy] {
        if (m_closing)
            return;
        m_pStart->setEnabled(!busy);
        if (busy)
            m_pClose->setEnabled(true);
    });
}
