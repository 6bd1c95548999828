#pragma once

#include "AlarmList.h"
#include "CommPara.h"
#include "HMIFrame.h"
#include "KoravelSetting.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CPLCFactory;

// The program's own messages about a project.
inline const QString kFrameExistsMessage = QStringLiteral("Frame Already Exist!");
inline const QString kTooManyTrendsMessage = QStringLiteral("每页只允许放置4个趋势图!");
inline const QString kDamagedFileMessage = QStringLiteral("工程文件已经损坏，打开出错！");

// The open project: its frames sorted by ID, the communication parameters, the panel settings
// and the alarm list, and the PLC description its addresses are bound to.
class CKoravelProject {
public:
    CKoravelProject();
    ~CKoravelProject();
    CKoravelProject(const CKoravelProject&) = delete;
    CKoravelProject& operator=(const CKoravelProject&) = delete;

    // Back to the initial state: no frames, counter 1, no settings, no alarm list. The PLC, the
    // communication parameters and the annotation switches stay.
    void Clear();

    // Inserts before the first frame with a greater ID. A name that exists already (ignoring
    // case) refuses the frame: null, and `message` says why. Otherwise the frame's ListOrder
    // becomes its position.
    CHMIFrame* InsertFrame(std::unique_ptr<CHMIFrame> frame, QString* message = nullptr);
    // Puts `frame` exactly at `position` of the frame list (clamped to it), as it was taken out:
    // no name check, ListOrder kept. Undo puts frames back so.
    CHMIFrame* InsertFrameAt(int position, std::unique_ptr<CHMIFrame> frame);
    // Takes the frame at `position` out of the list and hands it over. When it was the current
    // frame, the current frame becomes the one before, else after, else none. Null for a
    // position outside the list.
    std::unique_ptr<CHMIFrame> TakeFrame(int position);
    // The 0-based position in the frame list, -1 when not in it.
    int PositionOf(const CHMIFrame* frame) const;
    CHMIFrame* FindFrame(std::uint16_t id) const;
    // The frame whose name is `name`, letter case aside (names are unique so); null for none.
    CHMIFrame* FrameNamed(const QString& name) const;
    // The number proposed for a new or copied frame; the counter advances whether or not the
    // user confirms it.
    std::uint16_t TakeFrameNumber();
    // A frame numbered `number`, inserted and made current.
    CHMIFrame* NewFrame(int number, const QString& desc, QString* message = nullptr);
    // The frame of a new project, or of a project whose last frame was deleted.
    CHMIFrame* CreateDefaultFrame();
    // A copy of `source` numbered `number`, inserted and made current.
    CHMIFrame* CopyFrame(const CHMIFrame& source, int number, QString* message = nullptr);
    // Takes the frames out and hands them over in list order; the current frame becomes the one
    // before the first taken, else the one after the last. Without frames left, the counter
    // restarts and a default frame is made.
    std::vector<std::unique_ptr<CHMIFrame>> DeleteFrames(const std::vector<CHMIFrame*>& frames);
    // The largest frame ID, at least 1.
    int HighestFrameNumber() const;

    // An element drawn with the tool into the current frame; null when nothing is created
    // (no current frame, an empty rectangle, a fifth trend, a picture file that does not load).
    CGraphBase* CreateElement(int typeCode, const QRect& rect, const QString& pictureFile = {},
                              QString* message = nullptr);

    // Binds every element's addresses to m_pCurrentPLC, after the PLC changed.
    void RebindAll();
    // The settings and alarm list dialogs edit an object: created with its defaults.
    CKoravelSetting& EnsureSetting();
    CAlarmList& EnsureAlarmList();

    // A detached copy of everything a reader of the project sees (frames with their elements,
    // settings, alarm list, PLC, annotations), for a worker that must not share the original
    // with the window that goes on editing it. The current frame is the copy of the current
    // one.
    std::unique_ptr<CKoravelProject> Copy() const;

    // The plain XML text of the project as it is saved, dated `when`.
    QString SaveXmlText(const QDateTime& when = QDateTime::currentDateTime()) const;
    // Writes the scrambled file through a temporary file and an atomic rename. False (with the
    // system's message) when the write fails; the previous file is then intact.
    bool Save(const QString& path, QString* error = nullptr,
              const QDateTime& when = QDateTime::currentDateTime()) const;
    bool SavePlain(const QString& path, QString* error = nullptr,
                   const QDateTime& when = QDateTime::currentDateTime()) const;

    // Opens a project file, plain or scrambled, binding it to its PLC in `catalog`. Messages for
    // the user are appended to `messages`. A plain file that opened is left scrambled on disk;
    // a failed load never changes the file.
    bool Load(const QString& path, const CPLCFactory& catalog, QStringList& messages);
    // The same from the file's bytes, without touching any file; `wasPlain` tells which form
    // the bytes had.
    bool LoadBytes(const QByteArray& bytes, const CPLCFactory& catalog, QStringList& messages,
                   bool* wasPlain = nullptr);
    // Why the last load failed, in the reader's own words ("" after a successful load).
    const QString& LoadFailure() const { return m_strLoadFailure; }

    std::unique_ptr<CKoravelSetting> m_pSetting;
    CCommPara m_CommPara;
    std::vector<std::unique_ptr<CHMIFrame>> m_Frames;
    CHMIFrame* m_pCurrentFrame = nullptr;
    std::uint16_t m_nFrameCounter = 1;
    std::unique_ptr<CAlarmList> m_pAlarmList;
    const CPLCEntity* m_pCurrentPLC = nullptr;
    // The catalog version the file was written with; kept, compared with nothing.
    QString m_strSoftVersion;
    // The version of the catalog in use, written into saved files.
    QString m_strCatalogVersion = QStringLiteral("1.0");
    // The designer's annotation switches, which a saved file records as each element's
    // LabelName; the application sets them, the file does not.
    AnnotationFlags m_Annotations;

private:
    QString m_strLoadFailure;

    bool ReadDocument(CMarkup& xml, const CPLCFactory& catalog, QStringList& messages);
    bool ReadProject(CMarkup& xml, QStringList& messages);
};
