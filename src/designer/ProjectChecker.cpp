#include "ProjectChecker.h"

#include "KoravelDoc.h"

#include <memory>

CProjectChecker::CProjectChecker(CKoravelDoc& doc, QObject* parent)
    : QObject(parent), m_doc(doc) {
    // One worker for the window's life: checks follow edits all day long.
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kQuietMs);
    connect(&m_delay, &QTimer::timeout, this, &CProjectChecker::Start);
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, &CProjectChecker::Schedule);
    connect(&m_doc, &CKoravelDoc::projectReset, this, &CProjectChecker::Schedule);
    connect(&m_doc, &CKoravelDoc::plcChanged, this, &CProjectChecker::Schedule);
    Schedule();
}

CProjectChecker::~CProjectChecker() {
    m_abort = true;
    m_worker.waitForDone();
}

void CProjectChecker::Schedule() {
    // What a running check reads is already out of date.
    if (m_bRunning)
        m_abort = true;
    m_delay.start();
}

void CProjectChecker::Start() {
    if (m_bRunning) {
        m_bAgain = true;
        return;
    }
    const unsigned generation = ++m_nGeneration;
    if (!m_doc.HasPlc()) {
        Finished(CheckReport{}, generation);
        return;
    }
    // The copy is taken here, on the window's thread, where no command runs meanwhile.
    std::shared_ptr<const CKoravelProject> copy = m_doc.Project().Copy();
    m_abort = false;
    m_bRunning = true;
    m_worker.start([this, copy, generation] {
        const CheckReport report = CheckProject(*copy, &m_abort);
        QMetaObject::invokeMethod(
            this, [this, report, generation] { Finished(report, generation); },
            Qt::QueuedConnection);
    });
}

void CProjectChecker::Finished(const CheckReport& report, unsigned generation) {
    m_bRunning = false;
    if (!report.aborted && generation == m_nGeneration) {
        m_report = report;
        emit reportChanged();
    }
    if (m_bAgain) {
        m_bAgain = false;
        Start();
    }
}
