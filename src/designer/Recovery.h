#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class CKoravelDoc;
class QLockFile;
class QWidget;

// Recovery of unsaved work. While the project is modified, a copy of it (the project file
// format, written atomically) is kept in the user's state folder, written every two minutes
// and after every 50 edits; a save, a discarded project and a normal end remove it. Each
// running designer owns its copy through a lock file, so a copy whose owner is gone was left
// by a run that ended abnormally, and the next start offers it. The copy never replaces the
// user's file by itself.
class CRecovery : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 2 * 60 * 1000;
    static constexpr int kEdits = 50;

    explicit CRecovery(CKoravelDoc& doc, const QString& folder = DefaultFolder(),
                       int intervalMs = kIntervalMs);
    // The run ends normally: its copy goes.
    ~CRecovery() override;

    // "Halvern-Koravel/designer/recovery" in $XDG_STATE_HOME (~/.local/state without it).
    static QString DefaultFolder();

    // Offers the copies left by runs that ended abnormally, newest first ("发现未保存的工程…"):
    // restoring opens one as modified with its original path, discarding deletes it. True
    // when a copy was restored.
    bool OfferLeftOver(QWidget* parent);

    // This run's copy; it exists while the project is modified and has been written.
    QString CopyPath() const;

private:
    QString SlotFile(const QString& id, const char* suffix) const;
    void OnEdit();
    void OnReset();
    void Write();
    void Remove();
    void RemoveSlot(const QString& id) const;
    // Lock files of runs that ended without leaving a copy.
    void RemoveStaleLocks() const;

    CKoravelDoc& m_doc;
    const QString m_folder;
    const QString m_id;
    std::unique_ptr<QLockFile> m_pLock; // null: no copies (the folder cannot be used)
    QTimer m_timer;
    int m_nEdits = 0;
    bool m_bChanged = false; // edited since the copy was last written
};
