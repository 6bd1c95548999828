#include "Recovery.h"

#include "AtomicFile.h"
#include "DebugLog.h"
#include "KoravelDoc.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("提示");

// Whether the user restores the copy; the box has no way out but restore and discard.
bool AskRestore(QWidget* parent, const QString& path, const QDateTime& written) {
    QMessageBox box(QMessageBox::Question, kCaption, QStringLiteral("发现未保存的工程…"),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("recoveryOffer"));
    box.setInformativeText(QStringLiteral("%1\n%2").arg(
        path.isEmpty() ? QStringLiteral("无标题") : QDir::toNativeSeparators(path),
        written.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    // The box would break the path at every '/' to keep itself narrow.
    for (QLabel* label : box.findChildren<QLabel*>())
        if (label->text() == box.informativeText())
            label->setWordWrap(false);
    QPushButton* restore = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    return box.clickedButton() == restore;
}

} // namespace

CRecovery::CRecovery(CKoravelDoc& doc, const QString& folder, int intervalMs)
    : m_doc(doc), m_folder(folder), m_id(QStringLiteral("%1-%2")
                                             .arg(QDateTime::currentMSecsSinceEpoch())
                                             .arg(QCoreApplication::applicationPid())) {
    // The copies hold the user's projects: the folder is the user's alone.
    if (QDir().mkpath(folder) &&
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        m_pLock = std::make_unique<QLockFile>(SlotFile(m_id, ".lock"));
        // Held as long as this designer runs: a lock is stale only when its process is gone.
        m_pLock->setStaleLockTime(0);
        if (!m_pLock->tryLock(0))
            m_pLock.reset();
    }
    connect(&doc.UndoStack(), &QUndoStack::indexChanged, this, &CRecovery::OnEdit);
    connect(&doc, &CKoravelDoc::projectReset, this, &CRecovery::OnReset);
    connect(&doc, &CKoravelDoc::modifiedChanged, this, [this] {
        if (!m_doc.IsModified())
            Remove();
    });
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_bChanged)
            Write();
    });
    m_timer.start(intervalMs);
}

CRecovery::~CRecovery() {
    Remove();
}

QString CRecovery::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("Halvern-Koravel/designer/recovery"));
}

QString CRecovery::SlotFile(const QString& id, const char* suffix) const {
    return QDir(m_folder).filePath(id + QLatin1String(suffix));
}

QString CRecovery::CopyPath() const {
    return SlotFile(m_id, ".kvpr");
}

void CRecovery::OnEdit() {
    m_bChanged = true;
    if (++m_nEdits >= kEdits) {
        m_nEdits = 0;
        Write();
    }
}

void CRecovery::OnReset() {
    m_nEdits = 0;
    m_bChanged = m_doc.IsModified();
}

void CRecovery::Write() {
    // A worker may be reading the project; the timer tries again.
    if (!m_pLock || !m_doc.IsModified() || m_doc.IsBusy())
        return;
    QString error;
    const bool written =
        WriteFileAtomically(SlotFile(m_id, ".path"), m_doc.Path().toUtf8(), &error) &&
        m_doc.Project().Save(CopyPath(), &error);
    if (!written) {
        DebugLogLine(QStringLiteral("recovery copy not written: ") + error);
        return;
    }
    m_bChanged = false;
}

void CRecovery::Remove() {
    m_nEdits = 0;
    m_bChanged = false;
    if (m_pLock)
        RemoveSlot(m_id);
}

void CRecovery::RemoveSlot(const QString& id) const {
    QFile::remove(SlotFile(id, ".kvpr"));
    QFile::remove(SlotFile(id, ".path"));
}

void CRecovery::RemoveStaleLocks() const {
    const QDir folder(m_folder);
    for (const QString& name : folder.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString id = QFileInfo(name).completeBaseName();
        if (QFileInfo::exists(SlotFile(id, ".kvpr")))
            continue;
        // Taking the lock of a run that has ended removes the lock file when it is let go.
        QLockFile lock(folder.filePath(name));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            QFile::remove(SlotFile(id, ".path")); // killed between writing the path and the copy
    }
}

bool CRecovery::OfferLeftOver(QWidget* parent) {
    RemoveStaleLocks();
    const QFileInfoList copies =
        QDir(m_folder).entryInfoList({QStringLiteral("*.kvpr")}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const QString id = copy.completeBaseName();
        if (id == m_id)
            continue;
        QLockFile lock(SlotFile(id, ".lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its designer still runs
        QByteArray path;
        ReadWholeFile(SlotFile(id, ".path"), path);
        if (AskRestore(parent, QString::fromUtf8(path), copy.lastModified())) {
            QStringList messages;
            const bool restored = m_doc.Restore(copy.filePath(), QString::fromUtf8(path), messages);
            if (!restored && !messages.contains(kDamagedFileMessage))
                messages.append(kDamagedFileMessage);
            for (const QString& message : messages)
                QMessageBox::information(parent, kCaption, message);
            if (restored) {
                Write();
                RemoveSlot(id);
                return true;
            }
        }
        RemoveSlot(id);
    }
    return false;
}
