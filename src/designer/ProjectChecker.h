#pragma once

#include "ProjectCheck.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>

class CKoravelDoc;

// Keeps the check report of the open project current: a moment after the last change it
// checks a copy of the project on a worker, so that typing never waits for it. A change while
// a check runs aborts that check and starts another once it has ended.
class CProjectChecker : public QObject {
    Q_OBJECT

public:
    // How long the project must stay unchanged before it is checked.
    static constexpr int kQuietMs = 150;

    explicit CProjectChecker(CKoravelDoc& doc, QObject* parent = nullptr);
    // Aborts a running check and waits for its worker.
    ~CProjectChecker() override;

    // The last complete report; empty before the first and without a PLC.
    const CheckReport& Report() const { return m_report; }
    // Whether a change has not been checked yet.
    bool IsPending() const { return m_delay.isActive() || m_bRunning; }

signals:
    void reportChanged();

private:
    void Schedule();
    void Start();
    void Finished(const CheckReport& report, unsigned generation);

    CKoravelDoc& m_doc;
    QTimer m_delay;
    QThreadPool m_worker;
    std::atomic<bool> m_abort{false};
    bool m_bRunning = false;
    bool m_bAgain = false;
    unsigned m_nGeneration = 0;
    CheckReport m_report;
};
