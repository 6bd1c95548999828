#include "KoravelDoc.h"

#include "PLCFactory.h"
#include "Profile.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace {

// The serial port last chosen, as the profile keeps it.
QString ProfilePortName() {
    const QString section = QStringLiteral("LumoKoravel");
    const int number = ProfileReadInt(section, QStringLiteral("MoreThan10"), 0) != 0
                           ? ProfileReadInt(section, QStringLiteral("ComNum"), 11)
                           : ProfileReadInt(section, QStringLiteral("ComPort"), 0) + 1;
    return QStringLiteral("COM%1:").arg(number);
}

} // namespace

CKoravelDoc::CKoravelDoc(const CPLCFactory& catalog, QObject* parent)
    : QObject(parent), m_catalog(catalog), m_project(std::make_unique<CKoravelProject>()),
      m_strPortName(ProfilePortName()) {
    connect(&m_undo, &QUndoStack::cleanChanged, this, &CKoravelDoc::modifiedChanged);
}

CKoravelDoc::~CKoravelDoc() {
    // Commands hold frames and elements taken out of the project; they go first.
    m_undo.clear();
}

void CKoravelDoc::Push(QUndoCommand* command) {
    m_undo.push(command);
}

QString CKoravelDoc::Title() const {
    return m_strPath.isEmpty() ? QStringLiteral("无标题") : QFileInfo(m_strPath).fileName();
}

bool CKoravelDoc::IsBusy() const {
    QMutexLocker lock(&m_lock);
    return m_bBusy;
}

void CKoravelDoc::SetBusy(bool busy) {
    QMutexLocker lock(&m_lock);
    m_bBusy = busy;
}

void CKoravelDoc::SetAnnotations(AnnotationFlags flags) {
    m_annotations = flags;
    m_project->m_Annotations = flags;
    emit canvasChanged();
}

void CKoravelDoc::StartHistory() {
    m_undo.clear();
    m_undo.setClean();
    m_selection.clear();
}

void CKoravelDoc::NewProject(const CPLCEntity* plc, const CCommPara& comm) {
    StartHistory();
    m_project = std::make_unique<CKoravelProject>();
    m_project->m_Annotations = m_annotations;
    m_project->m_pCurrentPLC = plc;
    m_project->m_CommPara = comm;
    m_project->EnsureSetting();
    m_project->CreateDefaultFrame();
    SetPath({});
    // A new project has never been saved: modified until it is.
    m_undo.resetClean();
    emit projectReset();
    emit modifiedChanged();
}

void CKoravelDoc::ResetToEmpty() {
    StartHistory();
    m_project = std::make_unique<CKoravelProject>();
    m_project->m_Annotations = m_annotations;
    SetPath({});
    emit projectReset();
    emit modifiedChanged();
}

bool CKoravelDoc::Load(const QString& path, QStringList& messages, QString* reason) {
    // Read into a project of its own, so that a file that does not load costs nothing.
    auto loaded = std::make_unique<CKoravelProject>();
    const bool ok = loaded->Load(path, m_catalog, messages);
    if (reason)
        *reason = loaded->LoadFailure();
    if (!ok)
        return false;
    StartHistory();
    m_project = std::move(loaded);
    m_project->m_Annotations = m_annotations;
    SetPath(QFileInfo(path).absoluteFilePath());
    emit projectReset();
    emit modifiedChanged();
    return true;
}

bool CKoravelDoc::Restore(const QString& copy, const QString& path, QStringList& messages) {
    if (!Load(copy, messages))
        return false;
    SetPath(path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath());
    m_undo.resetClean();
    emit modifiedChanged();
    return true;
}

bool CKoravelDoc::Save(const QString& path, QString* error) {
    if (!m_project->Save(path, error))
        return false;
    SetPath(QFileInfo(path).absoluteFilePath());
    m_undo.setClean();
    emit modifiedChanged();
    return true;
}

void CKoravelDoc::SetPath(const QString& path) {
    m_strPath = path;
    emit pathChanged();
}

void CKoravelDoc::ShowFrame(CHMIFrame* frame) {
    if (!frame)
        return;
    if (m_project->m_pCurrentFrame != frame) {
        m_project->m_pCurrentFrame = frame;
        m_selection.clear();
        emit selectionChanged();
    }
    emit frameShown(frame);
    emit canvasChanged();
}

void CKoravelDoc::SetSelection(const QList<CGraphBase*>& selection) {
    m_selection = selection;
    emit selectionChanged();
    ShowCurrentPanel();
    emit canvasChanged();
}

void CKoravelDoc::NotifyFramesChanged() {
    emit framesChanged();
    ShowCurrentPanel();
    emit canvasChanged();
}

void CKoravelDoc::ShowCurrentPanel() {
    CHMIFrame* frame = CurrentFrame();
    if (!frame)
        return;
    if (!m_selection.isEmpty())
        emit elementShown(m_selection.front());
    else
        emit frameShown(frame);
}
