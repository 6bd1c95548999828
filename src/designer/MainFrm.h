#pragma once

#include <QHash>
#include <QMainWindow>
#include <QMessageBox>

#include <memory>
#include <thread>

class CCheckDock;
class CDeviceCommands;
class CFormListBrowser;
class CHMIFrame;
class CFormListHelper;
class CKoravelDoc;
class CKoravelFormView;
class CProjectChecker;
class CUpdater;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

// The designer's main window: menus, the four toolbars, the status bar with its panes, the frame
// list bar and the form view. Every command is a QAction whose object name is the command's
// name (and the name of its icon); its enabled state follows the document.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CKoravelDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The command named `name` ("new", "save", "new-frame", ...); null when there is none.
    QAction* Action(const QString& name) const { return m_actions.value(name); }
    CKoravelFormView& FormView() const { return *m_pFormView; }
    CFormListBrowser& FrameListBar() const { return *m_pFrameList; }
    CUpdater& Updater() const { return *m_pUpdater; }
    const CProjectChecker& Checker() const { return *m_pChecker; }

    // Text of status pane 1 to 4, whole; a long one is shown shortened in its middle.
    void SetStatusPane(int index, const QString& text);
    QString StatusPane(int index) const;

    // Opens `path` as the open command does, asking first to save a modified project; a file
    // that does not load is reported and leaves the open project.
    bool OpenProject(const QString& path);
    // The placement kept in the profile, or the first start's (10, 10) with half the screen.
    void RestorePlacement();

    // Recomputes every command's enabled and checked state.
    void UpdateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* AddAction(const QString& name, const QString& text, const QString& prompt = {});
    void CreateActions();
    // The canvas's own commands: its view, and every element command connected to it.
    void CreateViewActions();
    void ConnectCanvas();
    void UpdateCanvasCommandStates();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreateFrameList();
    // The project check's dock ("检查工程") and its status pane, the image budget.
    void CreateCheckDock();
    void ShowBudget();
    QToolBar* AddToolBar(const QString& name, const QString& title, const QStringList& actions);
    void ConnectDocument();
    void UpdateTitle();
    void UpdateRecentFiles();
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    // Asks "将改动保存到 %1？" for a modified project; false when the user cancels or the save
    // fails.
    bool SaveModified();
    // "将改动保存到 %1？" with `answers`, Yes the default.
    QMessageBox::StandardButton AskToSave(QMessageBox::StandardButtons answers);
    // Before the designer ends for an update: offers to save a modified project (yes, no) and
    // asks again while a save the user wanted fails.
    void SaveBeforeEnding();
    bool Save(bool askForPath);
    // Where the file dialogs start: the open project's folder, else the last project's, else
    // the user's documents.
    QString ProjectFolder() const;
    void SavePlacement() const;
    void RemoveBatchToolFiles() const;
    void OnSerialPorts();

    void OnNew();
    void OnOpen();
    void OnChangeDriver();
    void OnImportOldProject();
    void OnNewFrame();
    void OnCopyFrame();
    // Puts `frame` into the project as one command, unless its name is taken.
    void AddFrame(std::unique_ptr<CHMIFrame> frame, const QString& text);
    void OnDeleteFrames();
    void OnClearElements();
    void OnPanelSettings();
    void OnToggleAnnotation(bool layer, bool on);
    void OnHelpDocument();
    void OnProductCatalogue();
    void OnCopyUsbDriver();
    void OnAbout();
    void CopyUsbDriverFinished(const QString& target, bool copied);

    CKoravelDoc& m_doc;
    QHash<QString, QAction*> m_actions;
    QMenu* m_pRecentMenu = nullptr;
    QList<QAction*> m_recentActions;
    QAction* m_pRecentSeparator = nullptr;
    QLabel* m_panes[5] = {};
    CKoravelFormView* m_pFormView;
    CFormListBrowser* m_pFrameList = nullptr;
    CFormListHelper* m_pFrameListHelper = nullptr;
    CProjectChecker* m_pChecker;
    CDeviceCommands* m_pDeviceCommands;
    CCheckDock* m_pCheckDock = nullptr;
    QLabel* m_pBudgetPane = nullptr;
    std::thread m_usbDriverCopy;
    CUpdater* m_pUpdater;
};
