#include "DlgCompileStatus.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMutexLocker>
#include <QProgressBar>

#include <algorithm>

DlgCompileStatus::DlgCompileStatus(QByteArray projectFile, const CPLCFactory& catalog,
                                   BuildMode mode, QWidget* parent)
    : QDialog(parent), m_projectFile(std::move(projectFile)), m_catalog(catalog), m_mode(mode),
      m_pCurrentBar(new QProgressBar), m_pOverallBar(new QProgressBar),
      m_pCurrentText(new QLabel(QStringLiteral("0/0"))),
      m_pOverallText(new QLabel(QStringLiteral("0/0"))) {
    setObjectName(QStringLiteral("compileDialog"));
    setWindowTitle(QStringLiteral("正在编译..."));
    m_pCurrentBar->setObjectName(QStringLiteral("currentBar"));
    m_pOverallBar->setObjectName(QStringLiteral("overallBar"));
    m_pCurrentText->setObjectName(QStringLiteral("currentText"));
    m_pOverallText->setObjectName(QStringLiteral("overallText"));
    for (QProgressBar* bar : {m_pCurrentBar, m_pOverallBar}) {
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
    }
    for (QLabel* text : {m_pCurrentText, m_pOverallText})
        text->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000 / 000")));
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pCurrentBar, 0, 0);
    layout->addWidget(m_pCurrentText, 0, 1);
    layout->addWidget(m_pOverallBar, 1, 0);
    layout->addWidget(m_pOverallText, 1, 1);
    layout->setColumnMinimumWidth(0, 320);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

DlgCompileStatus::~DlgCompileStatus() {
    m_abort = true;
    if (m_worker.joinable())
        m_worker.join();
}

void DlgCompileStatus::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_worker.joinable() || m_bRunning)
        return;
    m_bRunning = true;
    m_worker = std::thread([this] {
        auto result = std::make_shared<CompileJobResult>(
            RunWindowCompileJob(m_projectFile, m_catalog, m_mode, *this, m_abort));
        Post([this, result] { Finish(result); });
    });
}

void DlgCompileStatus::Finish(const std::shared_ptr<CompileJobResult>& result) {
    m_worker.join();
    m_bRunning = false;
    if (m_bEnding) {
        emit compileEnded(false);
        QDialog::reject();
        return;
    }
    m_result = std::move(*result);
    emit compileEnded(m_result.ok);
    if (m_result.ok) {
        accept();
        return;
    }
    if (m_result.message.isEmpty())
        return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("designer"), m_result.message,
                    QMessageBox::Ok, this);
    box.setDetailedText(m_result.detail);
    box.exec();
    QDialog::reject();
}

void DlgCompileStatus::reject() {
    if (!m_bRunning) {
        QDialog::reject();
        return;
    }
    // The job stops at its next step; the dialog ends when its worker has.
    m_abort = true;
    m_bEnding = true;
    setWindowTitle(QStringLiteral("正在取消编译..."));
}

void DlgCompileStatus::Post(std::function<void()> change) {
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void DlgCompileStatus::Update(const std::function<void(Progress&)>& change) {
    QMutexLocker lock(&m_progressLock);
    change(m_progress);
    if (m_bRefreshQueued)
        return;
    m_bRefreshQueued = true;
    Post([this] { Refresh(); });
}

void DlgCompileStatus::Refresh() {
    Progress progress;
    {
        QMutexLocker lock(&m_progressLock);
        progress = m_progress;
        m_bRefreshQueued = false;
    }
    if (!m_bEnding && !progress.title.isEmpty())
        setWindowTitle(QStringLiteral("正在编译：") + progress.title);
    m_pCurrentBar->setValue(progress.currentPos);
    m_pCurrentText->setText(progress.currentText);
    m_pOverallBar->setRange(0, progress.overallRange);
    m_pOverallBar->setValue(progress.overallPos);
    m_pOverallText->setText(progress.overallText);
}

void DlgCompileStatus::Reset() {
    Update([](Progress& p) {
        p.currentPos = 0;
        p.overallPos = 0;
        p.overallRange = 100;
        p.currentText = p.overallText = QStringLiteral("0/0");
    });
}

void DlgCompileStatus::SetOverallRange(int steps) {
    Update([steps](Progress& p) { p.overallRange = std::max(steps, 0); });
}

void DlgCompileStatus::StepOverall() {
    Update([](Progress& p) {
        p.overallPos = std::min(p.overallPos + 1, p.overallRange);
        p.overallText = QStringLiteral("%1 / %2").arg(p.overallPos).arg(p.overallRange);
    });
}

void DlgCompileStatus::SetTitle(const QString& title) {
    Update([&title](Progress& p) { p.title = title; });
}

void DlgCompileStatus::SetCurrentPos(int percent) {
    Update([percent](Progress& p) { p.currentPos = std::clamp(percent, 0, 100); });
}

void DlgCompileStatus::SetCurrentText(const QString& text) {
    Update([&text](Progress& p) { p.currentText = text; });
}

// The bar at that share of its range, the text in percent.
void DlgCompileStatus::SetOverallPercent(int percent) {
    Update([percent](Progress& p) {
        const int share = std::clamp(percent, 0, 100);
        p.overallPos = p.overallRange * share / 100;
        p.overallText = QStringLiteral("%1%").arg(share);
    });
}
