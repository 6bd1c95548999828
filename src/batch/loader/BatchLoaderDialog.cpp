#include "BatchLoaderDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>

namespace {
const QString kFixedCaption = QStringLiteral("KV250 批量下载工具");
}

// Hands every display call over to the window's thread; calls for a window that is gone are
// dropped.
class BatchLoaderDialog::Display : public DownloadDisplay {
public:
    explicit Display(BatchLoaderDialog* dialog) : m_dialog(dialog) {}

    void ResetDownloadPanel() override {}
    void SetFileProgressRange(int size) override {
        Post([size](BatchLoaderDialog& d) { d.SetFileRange(size); });
    }
    void SetFileProgressPos(int pos) override {
        Post([pos](BatchLoaderDialog& d) { d.SetFilePos(pos); });
    }
    void SetOverallProgressPos(int pos) override {
        Post([pos](BatchLoaderDialog& d) { d.SetOverallPos(pos); });
    }
    void SetFileProgressText(const QString& text) override {
        Post([text](BatchLoaderDialog& d) { d.SetFileText(text); });
    }
    void SetOverallProgressText(const QString& text) override {
        Post([text](BatchLoaderDialog& d) { d.SetOverallText(text); });
    }
    void EnableDownloadButtons(bool busy) override {
        Post([busy](BatchLoaderDialog& d) { d.SetBusy(busy); });
    }

protected:
    void AddLogLine(const QString& line) override {
        Post([line](BatchLoaderDialog& d) { d.AddLogLine(line); });
    }

private:
    template <typename F> void Post(F change) {
        QPointer<BatchLoaderDialog> dialog = m_dialog;
        QMetaObject::invokeMethod(
            m_dialog,
            [dialog, change] {
                if (dialog)
                    change(*dialog);
            },
            Qt::QueuedConnection);
    }

    BatchLoaderDialog* m_dialog;
};

BatchLoaderDialog::BatchLoaderDialog(BatchPackageSource source, const QString& title,
                                     QWidget* parent)
    : QDialog(parent), m_source(std::move(source)), m_log(new QListWidget(this)),
      m_fileBar(new QProgressBar(this)), m_fileText(new QLabel(QStringLiteral("100%"), this)),
      m_overallBar(new QProgressBar(this)), m_overallText(new QLabel(QStringLiteral("100%"), this)),
      m_start(new QPushButton(QStringLiteral("开始下载"), this)),
      m_close(new QPushButton(QStringLiteral("关闭"), this)),
      m_display(std::make_unique<Display>(this)), m_usb(std::make_unique<LibUSBDown>(*m_display)) {
    setWindowTitle(title.isEmpty() ? kFixedCaption : title);
    m_log->setObjectName(QStringLiteral("log"));
    m_start->setObjectName(QStringLiteral("start"));
    m_close->setObjectName(QStringLiteral("close"));
    for (QProgressBar* bar : {m_fileBar, m_overallBar}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }
    for (QLabel* text : {m_fileText, m_overallText})
        text->setMinimumWidth(70);
    m_start->setAutoDefault(false);
    m_close->setAutoDefault(false);
    auto* about = new QPushButton(QStringLiteral("关于我们(&A)..."), this);
    about->setAutoDefault(false);

    auto* bars = new QGridLayout;
    bars->addWidget(new QLabel(QStringLiteral("当前进度:"), this), 0, 0);
    bars->addWidget(m_fileBar, 0, 1);
    bars->addWidget(m_fileText, 0, 2);
    bars->addWidget(new QLabel(QStringLiteral("总体进度:"), this), 1, 0);
    bars->addWidget(m_overallBar, 1, 1);
    bars->addWidget(m_overallText, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(about);
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_log);
    layout->addLayout(bars);
    layout->addLayout(buttons);
    resize(460, 340);

    connect(m_start, &QPushButton::clicked, this, &BatchLoaderDialog::StartDownload);
    connect(m_close, &QPushButton::clicked, this, &BatchLoaderDialog::CloseProgram);
    connect(about, &QPushButton::clicked, this, &BatchLoaderDialog::ShowAbout);

    m_hooks.confirmRunningPlc = [this] { return AskRunningPlc(); };
    m_hooks.showMessage = [this](const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { QMessageBox::warning(this, QStringLiteral("提示"), text); },
            Qt::QueuedConnection);
    };
    m_hooks.registered = [this] { return m_registered.load(); };
}

BatchLoaderDialog::~BatchLoaderDialog() {
    StopWorker();
}

void BatchLoaderDialog::AddLogLine(const QString& line) {
    m_log->addItem(line);
    m_log->setCurrentRow(m_log->count() - 1);
}

void BatchLoaderDialog::SetFileRange(int size) {
    m_fileBar->setRange(0, size);
    m_fileBar->setValue(0);
}

void BatchLoaderDialog::SetFilePos(int pos) {
    m_fileBar->setValue(pos);
}

void BatchLoaderDialog::SetFileText(const QString& text) {
    m_fileText->setText(text);
}

void BatchLoaderDialog::SetOverallPos(int pos) {
    m_overallBar->setValue(pos);
}

void BatchLoaderDialog::SetOverallText(const QString& text) {
    m_overallText->setText(text);
}

void BatchLoaderDialog::SetBusy(bool busy) {
    m_start->setEnabled(!busy);
    m_close->setEnabled(busy);
}

void BatchLoaderDialog::StartDownload() {
    if (!m_start->isEnabled())
        return;
    if (m_worker.joinable())
        m_worker.join(); // the previous download has ended: its last act enabled the button
    SetBusy(true);
    m_registered = true;
    m_worker = std::thread([this] {
        m_display->EnableDownloadButtons(true);
        BatchDownload(*m_usb, *m_display, m_source, m_hooks);
    });
}

void BatchLoaderDialog::CloseProgram() {
    StopWorker();
    accept();
}

void BatchLoaderDialog::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("关于我们"),
                       QStringLiteral("KV250 批量下载工具\n\n把发布的工程逐台下载到KV250面板。"));
}

void BatchLoaderDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        StartDownload();
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool BatchLoaderDialog::AskRunningPlc() {
    // Runs on the worker. The question is asked on the window's thread; the worker polls for
    // the answer instead of blocking on it, so a window that closes meanwhile (and joins the
    // worker) is never waited for.
    enum { Pending, Yes, No };
    auto answer = std::make_shared<std::atomic<int>>(Pending);
    QMetaObject::invokeMethod(
        this,
        [this, answer] {
            const auto button = QMessageBox::question(
                this, QStringLiteral("安全提示"),
                QStringLiteral("一体机PLC正在运行，是否强制下载？\n\n提示：为了安全起见，"
                               "建议关闭PLC后再下载！"));
            *answer = button == QMessageBox::Yes ? Yes : No;
        },
        Qt::QueuedConnection);
    while (*answer == Pending && m_registered)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return *answer == Yes && m_registered;
}

void BatchLoaderDialog::StopWorker() {
    m_registered = false;
    m_usb->Abort();
    if (m_worker.joinable())
        m_worker.join();
}
