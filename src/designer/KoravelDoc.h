#pragma once

#include "KoravelProject.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QUndoStack>

class CPLCFactory;
class QUndoCommand;

// The designer's one document: the open project, its path and its undo stack. Views read the
// project; only commands (pushed with Push) change it, so every change can be undone and the
// modified state is the stack's clean state. The signals stand for the update hints that tell
// the views what to show again.
class CKoravelDoc : public QObject {
    Q_OBJECT

public:
    explicit CKoravelDoc(const CPLCFactory& catalog, QObject* parent = nullptr);
    ~CKoravelDoc() override;

    // Views read the project through the const form; commands write through the other.
    const CKoravelProject& Project() const { return *m_project; }
    CKoravelProject& Project() { return *m_project; }
    const CPLCFactory& Catalog() const { return m_catalog; }
    QUndoStack& UndoStack() { return m_undo; }
    // Carries out `command` (its redo) and keeps it for undo; the stack takes ownership.
    void Push(QUndoCommand* command);

    // Without a PLC the document holds no real project: most commands are off.
    bool HasPlc() const { return m_project->m_pCurrentPLC != nullptr; }
    const QString& Path() const { return m_strPath; }
    // "无标题" or the file's name; the window adds " *" while the project is modified.
    QString Title() const;
    bool IsModified() const { return !m_undo.isClean(); }
    const QString& PortName() const { return m_strPortName; }

    // A worker (compile, download, batch tool) owns the project while this is set; the window
    // then refuses to close.
    bool IsBusy() const;
    void SetBusy(bool busy);

    // The annotation switches of the whole designer; every project shows them.
    AnnotationFlags Annotations() const { return m_annotations; }
    void SetAnnotations(AnnotationFlags flags);

    // Whole-document operations; each starts an empty undo stack.
    // A new project for `plc` with its default frame; it counts as modified until saved.
    void NewProject(const CPLCEntity* plc, const CCommPara& comm);
    // The untitled document without a PLC, as a cancelled New leaves it.
    void ResetToEmpty();
    // Opens a project file. A file that does not load leaves the open project as it was;
    // `messages` holds what to show the user, `reason` the reader's own words.
    bool Load(const QString& path, QStringList& messages, QString* reason = nullptr);
    // Opens a recovery copy of the project whose file is `path` (empty for an untitled one):
    // the document takes `path` and counts as modified, so the next save goes to the user's
    // file, never to the copy.
    bool Restore(const QString& copy, const QString& path, QStringList& messages);
    // Writes the project file and takes `path` as the document's; false with the path and the
    // system's reason in `error`.
    bool Save(const QString& path, QString* error = nullptr);

    // Navigation, not a change of the project.
    CHMIFrame* CurrentFrame() const { return m_project->m_pCurrentFrame; }
    // Makes `frame` current and shows its panel and its canvas.
    void ShowFrame(CHMIFrame* frame);
    // The elements selected on the canvas, all of the current frame.
    const QList<CGraphBase*>& Selection() const { return m_selection; }
    void SetSelection(const QList<CGraphBase*>& selection);

    // What commands announce after they changed the project.
    void NotifyFramesChanged();
    void NotifyCanvas() { emit canvasChanged(); }
    void NotifyElement(CGraphBase* element) { emit elementChanged(element); }
    void NotifyFrameDescription(std::uint16_t id) { emit frameDescriptionChanged(id); }
    void NotifyPlc() { emit plcChanged(); }
    // The panel of the current element, or of the current frame without one.
    void ShowCurrentPanel();

signals:
    // New, Open or a failed load: every view reads everything again.
    void projectReset();
    // The frame list is rebuilt with the current frame's row selected.
    void framesChanged();
    void frameShown(CHMIFrame* frame);
    void elementShown(CGraphBase* element);
    void canvasChanged();
    void elementChanged(CGraphBase* element);
    void frameDescriptionChanged(std::uint16_t id);
    void selectionChanged();
    void plcChanged();
    void pathChanged();
    void modifiedChanged();

private:
    void SetPath(const QString& path);
    void StartHistory();

    const CPLCFactory& m_catalog;
    std::unique_ptr<CKoravelProject> m_project;
    QUndoStack m_undo;
    QString m_strPath;
    QString m_strPortName;
    QList<CGraphBase*> m_selection;
    AnnotationFlags m_annotations;
    mutable QMutex m_lock;
    bool m_bBusy = false;
};
