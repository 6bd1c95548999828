#include "MainFrm.h"

#include "BatchDelivery.h"
#include "CheckDock.h"
#include "DeviceCommands.h"
#include "DlgAbout.h"
#include "DlgAddressList.h"
#include "DlgCopyFrame.h"
#include "DlgDriverSetting.h"
#include "DlgEnumCom.h"
#include "DlgKoravelSetting.h"
#include "DlgNewFrame.h"
#include "ElementClipboard.h"
#include "FormListBrowser.h"
#include "FormListControl.h"
#include "FormListHelper.h"
#include "Ini.h"
#include "KoravelDoc.h"
#include "KoravelFormView.h"
#include "KoravelWnd.h"
#include "PLCEntity.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "ProjectChecker.h"
#include "ReportFormat.h"
#include "Updater.h"
#include "commands/FrameCommands.h"
#include "commands/ProjectCommands.h"
#include "panels/DlgAlarmList.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kRecentSection = QStringLiteral("Recent File List");
const QString kPlacement = QStringLiteral("Main Window");
constexpr int kRecentFiles = 16;

// The fixed notice of status pane 1.
const QString kNotice = QStringLiteral("KV250 文本显示器组态软件");

QIcon CommandIcon(const QString& name) {
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QStringList RecentFiles() {
    QStringList files;
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString file = ProfileReadString(kRecentSection, QStringLiteral("File%1").arg(i));
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

void WriteRecentFiles(const QStringList& files) {
    for (int i = 1; i <= kRecentFiles; ++i)
        ProfileWriteString(kRecentSection, QStringLiteral("File%1").arg(i),
                           i <= files.size() ? files[i - 1] : QString());
}

bool IsProjectFile(const QUrl& url) {
    return url.isLocalFile() &&
           url.toLocalFile().endsWith(QStringLiteral(".kvpr"), Qt::CaseInsensitive);
}

// Copies `from` with its files and subfolders into `to`; false when anything failed.
bool CopyFolder(const QString& from, const QString& to) {
    const QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    bool ok = true;
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        ok = QFile::copy(file, target) && ok;
    }
    return ok;
}

} // namespace

CMainFrame::CMainFrame(CKoravelDoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_pFormView(new CKoravelFormView(doc)),
      m_pChecker(new CProjectChecker(doc, this)),
      m_pDeviceCommands(new CDeviceCommands(doc, *m_pChecker, *this)),
      m_pUpdater(new CUpdater(
          *this, ProgramFolder(), [this] { SaveBeforeEnding(); }, [] { QCoreApplication::exit(0); },
          this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/application.svg")));
    setAcceptDrops(true);
    setCentralWidget(m_pFormView);
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreateFrameList();
    CreateCheckDock();
    ConnectDocument();
    UpdateRecentFiles();
    UpdateTitle();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    if (m_usbDriverCopy.joinable())
        m_usbDriverCopy.join();
}

QAction* CMainFrame::AddAction(const QString& name, const QString& text, const QString& prompt) {
    auto* action = new QAction(CommandIcon(name), text, this);
    action->setObjectName(name);
    // A prompt is the status bar text, then after a line break the tool tip.
    const QStringList parts = prompt.split(u'\n');
    if (!prompt.isEmpty()) {
        action->setStatusTip(parts.front());
        action->setToolTip(parts.size() > 1 ? parts[1] : parts.front());
    }
    action->setEnabled(false);
    m_actions.insert(name, action);
    return action;
}

void CMainFrame::CreateActions() {
    // File
    AddAction("new", "新建(&N)", "建立新文档\n新建")->setShortcut(QKeySequence::New);
    AddAction("open", "打开(&O)...", "打开一个现有文档\n打开")->setShortcut(QKeySequence::Open);
    AddAction("save", "保存(&S)", "保存活动文档\n保存")->setShortcut(QKeySequence::Save);
    AddAction("save-as", "另存为(&A)...", "将活动文档以一个新文件名保存\n另存为");
    AddAction("change-driver", "更改厂商驱动");
    AddAction("import", "导入旧工程");
    AddAction("exit", "退出(&X)", "退出应用程序；提示保存文档\n退出");
    // Edit
    AddAction("undo", "撤销(&U)")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddAction("redo", "重做(&R)")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    AddAction("copy-elements", "复制元件(&C)", "复制选中的元件并将其置于画板上\n复制元件")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    AddAction("delete-elements", "删除元件")->setShortcut(QKeySequence(Qt::Key_Delete));
    AddAction("paste", "粘贴元件(&P)", "将剪贴板上的元件粘贴到当前画面\n粘贴元件")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    AddAction("cut", "剪切元件(&X)", "剪切选中的元件并将其放到剪贴板上\n剪切元件")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    AddAction("bring-to-top", "上移顶层(&T)", "将元件上移至顶层\n上移顶层");
    AddAction("send-to-bottom", "下移底层(&B)", "将元件下移至底层\n上移底层");
    AddAction("up-one-layer", "上移一层(&U)", "将元件上移一层\n上移一层");
    AddAction("down-one-layer", "下移一层(&D)", "将元件下移一层\n下移一层");
    AddAction("align-left", "向左对齐", "将所有元件向左对齐\n向左对齐");
    AddAction("align-right", "向右对齐", "将所有元件向右对齐\n向右对齐");
    AddAction("align-top", "向上对齐", "将所有元件向上对齐\n向上对齐");
    AddAction("align-bottom", "向下对齐", "将所有元件向下对齐\n向下对齐");
    AddAction("distribute-horizontal", "水平等距分布", "将元件水平等间距分布\n水平等距分布");
    AddAction("distribute-vertical", "垂直等距分布", "将元件垂直等间距分布\n垂直等距分布");
    AddAction("same-width", "等宽", "使元件与最后选中的元件等宽\n等宽");
    AddAction("same-height", "等高", "使元件与最后选中的元件等高\n等高");
    // View
    AddAction("serial-ports", "本机有效串口...");
    CreateViewActions();
    // Frame
    AddAction("new-frame", "新建画面(&N)", "新建画面\n新建画面");
    AddAction("copy-frame", "复制画面(&C)", "复制画面\n复制画面");
    AddAction("delete-frame", "删除画面(&D)", "删除画面\n删除画面");
    AddAction("clear-elements", "清空元件(&R)");
    // Element
    AddAction("static-text", "静态文本(&T)", "静态文本\n静态文本");
    AddAction("indicator", "指示灯(&L)", "指示灯\n指示灯");
    AddAction("function-key", "功能键(&F)", "功能键\n功能键");
    AddAction("dynamic-text", "动态文本(&D)", "动态文本\n动态文本");
    AddAction("register", "寄存器(&R)", "寄存器\n寄存器");
    AddAction("bar", "棒状图(&B)", "棒状图\n棒状图");
    AddAction("trend", "趋势图(&Q)", "趋势图\n趋势图");
    AddAction("picture", "图片(&P)", "位图\n位图");
    // Settings
    AddAction("panel-settings", "设置KV250(&S)", "设置KV250初始画面号、口令等\n设置KV250参数");
    AddAction("alarm-list", "设置报警列表(&L)", "设置报警列表内容\n报警列表");
    AddAction("address-labels", "显示地址标签(&T)", "显示地址注释标签\n地址标签")
        ->setCheckable(true);
    AddAction("layer-labels", "显示层次标签(&I)", "显示控件下标叠放顺序\n层次标签")
        ->setCheckable(true);
    AddAction("global-functions", "设置全局功能(&F)");
    // Device
    AddAction("download", "下载组态(&D) ", "下载组态数据至文本显示器\n下载数据");
    AddAction("upload", "上传组态(&U) ");
    AddAction("serial-port", "选择串口(&S)", "选择下载工程的计算机串口\n选择串口");
    AddAction("emulator", "启动仿真(&M)", "运行仿真模拟器\n仿真模拟");
    AddAction("usage-table", "元件使用表", "打开元件使用一览表\n元件使用表");
    AddAction("batch-download", "批量下载", "制作发面批量下载工具\n批量下载");
    AddAction("check-project", "检查工程", "检查面板会出错的地方和镜像的大小\n检查工程")
        ->setShortcut(QKeySequence(Qt::Key_F7));
    // Help
    AddAction("product-catalogue", "产品介绍(&N)", "了解公司最新产品型号、定价资料\n查看最新产品");
    AddAction("help-document", "帮助文档(&D)", "打开软件帮助文档、使用手册\n帮助文档");
    AddAction("copy-usb-driver", "拷贝USB驱动", "打开USB驱动文件夹\n复制USB驱动文件夹");
    AddAction("software-update", "软件升级(&U)", "软件自动升级设置\n软件升级");
    AddAction("about", "关于我们(&A)...", "显示程序信息，版本号和版权\n关于");

    const auto on = [this](const char* name, auto handler) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("new", &CMainFrame::OnNew);
    on("open", &CMainFrame::OnOpen);
    on("save", [this] { Save(false); });
    on("save-as", [this] { Save(true); });
    on("change-driver", &CMainFrame::OnChangeDriver);
    on("import", &CMainFrame::OnImportOldProject);
    on("exit", &QWidget::close);
    on("undo", [this] { m_doc.UndoStack().undo(); });
    on("redo", [this] { m_doc.UndoStack().redo(); });
    on("new-frame", &CMainFrame::OnNewFrame);
    on("copy-frame", &CMainFrame::OnCopyFrame);
    on("delete-frame", &CMainFrame::OnDeleteFrames);
    on("clear-elements", &CMainFrame::OnClearElements);
    on("panel-settings", &CMainFrame::OnPanelSettings);
    on("alarm-list", [this] { EditAlarmList(m_doc, this); });
    ConnectCanvas();
    on("address-labels", [this](bool checked) { OnToggleAnnotation(false, checked); });
    on("layer-labels", [this](bool checked) { OnToggleAnnotation(true, checked); });
    on("product-catalogue", &CMainFrame::OnProductCatalogue);
    on("help-document", &CMainFrame::OnHelpDocument);
    on("copy-usb-driver", &CMainFrame::OnCopyUsbDriver);
    on("software-update", [this] { m_pUpdater->ShowSettings(); });
    on("about", &CMainFrame::OnAbout);
    on("serial-ports", &CMainFrame::OnSerialPorts);
    on("download", [this] { m_pDeviceCommands->Download(); });
    on("emulator", [this] { m_pDeviceCommands->StartEmulator(); });
    on("batch-download", [this] { m_pDeviceCommands->Publish(); });
    on("check-project", [this] {
        m_pCheckDock->show();
        m_pCheckDock->raise();
    });
    connect(m_pDeviceCommands, &CDeviceCommands::statesChanged, this,
            &CMainFrame::UpdateCommandStates);
}

void CMainFrame::CreateViewActions() {
    AddAction("zoom-in", "放大(&I)", "放大画面\n放大")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    AddAction("zoom-out", "缩小(&O)", "缩小画面\n缩小")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    auto* zooms = new QActionGroup(this);
    AddAction("zoom-fit", "适合窗口(&W)", "以适合窗口的最大整数倍显示画面\n适合窗口");
    zooms->addAction(Action("zoom-fit"))->setCheckable(true);
    for (const int factor : ViewPreferences::kZoomFactors)
        zooms
            ->addAction(AddAction(QStringLiteral("zoom-%1").arg(factor),
                                  QStringLiteral("%1倍").arg(factor)))
            ->setCheckable(true);
    AddAction("grid", "像素网格(&G)", "放大4倍以上时显示像素网格\n像素网格")->setCheckable(true);
    AddAction("snap", "吸附(&N)", "移动元件时吸附到网格和其他元件的边缘\n吸附")->setCheckable(true);
    auto* grids = new QActionGroup(this);
    for (const int grid : ViewPreferences::kSnapGrids)
        grids
            ->addAction(AddAction(QStringLiteral("snap-grid-%1").arg(grid),
                                  QStringLiteral("吸附网格 %1 像素").arg(grid)))
            ->setCheckable(true);
}

void CMainFrame::ConnectCanvas() {
    CKoravelWnd& canvas = m_pFormView->Canvas();
    const auto on = [this](const QString& name, auto handler) {
        connect(Action(name), &QAction::triggered, this, handler);
    };
    on("copy-elements", [&canvas] { canvas.CopyElements(); });
    on("delete-elements", [&canvas] { canvas.DeleteElements(); });
    on("cut", [&canvas] { canvas.CutElements(); });
    on("paste", [&canvas] { canvas.PasteElements(); });
    const std::pair<const char*, CKoravelWnd::Stacking> stacking[] = {
        {"bring-to-top", CKoravelWnd::Stacking::Top},
        {"send-to-bottom", CKoravelWnd::Stacking::Bottom},
        {"up-one-layer", CKoravelWnd::Stacking::Up},
        {"down-one-layer", CKoravelWnd::Stacking::Down}};
    for (const auto& [name, order] : stacking)
        on(QString::fromLatin1(name), [&canvas, order] { canvas.Restack(order); });
    const std::pair<const char*, AlignEdge> aligning[] = {{"align-left", AlignEdge::Left},
                                                          {"align-right", AlignEdge::Right},
                                                          {"align-top", AlignEdge::Top},
                                                          {"align-bottom", AlignEdge::Bottom}};
    for (const auto& [name, edge] : aligning)
        on(QString::fromLatin1(name), [&canvas, edge] { canvas.Align(edge); });
    on("distribute-horizontal", [&canvas] { canvas.Distribute(Qt::Horizontal); });
    on("distribute-vertical", [&canvas] { canvas.Distribute(Qt::Vertical); });
    on("same-width", [&canvas] { canvas.SameSize(Qt::Horizontal); });
    on("same-height", [&canvas] { canvas.SameSize(Qt::Vertical); });
    const std::pair<const char*, int> kinds[] = {{"static-text", kTypeStaticText},
                                                 {"indicator", kTypeIndicator},
                                                 {"function-key", kTypeFunctionKey},
                                                 {"dynamic-text", kTypeDynamicText},
                                                 {"register", kTypeRegister},
                                                 {"bar", kTypeBar},
                                                 {"trend", kTypeTrend}};
    for (const auto& [name, kind] : kinds)
        on(QString::fromLatin1(name), [&canvas, kind] { canvas.PlaceElement(kind); });
    on("picture", [this, &canvas] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          QStringLiteral("bitmap files (*.bmp)"));
        if (!path.isEmpty())
            canvas.PlacePicture(path);
    });
    on("usage-table", [this] { m_pFormView->UsageTable().ShowTable(); });

    on("zoom-in", [&canvas] { canvas.ZoomIn(); });
    on("zoom-out", [&canvas] { canvas.ZoomOut(); });
    on("zoom-fit", [&canvas] { canvas.SetZoom(0); });
    for (const int factor : ViewPreferences::kZoomFactors)
        on(QStringLiteral("zoom-%1").arg(factor), [&canvas, factor] { canvas.SetZoom(factor); });
    on("grid", [&canvas](bool checked) { canvas.SetPixelGrid(checked); });
    on("snap", [&canvas](bool checked) { canvas.SetSnap(checked); });
    for (const int grid : ViewPreferences::kSnapGrids)
        on(QStringLiteral("snap-grid-%1").arg(grid), [&canvas, grid] { canvas.SetSnapGrid(grid); });
    connect(&canvas, &CKoravelWnd::zoomChanged, this, &CMainFrame::UpdateCommandStates);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::UpdateCommandStates);

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("canvasMenu"));
    menu->addAction(Action("copy-elements"));
    menu->addSeparator();
    menu->addAction(Action("delete-elements"));
    menu->addSeparator();
    menu->addAction(Action("paste"));
    canvas.SetContextMenu(menu);
}

void CMainFrame::CreateMenus() {
    const auto menu = [this](const QString& title, const QStringList& names) {
        QMenu* m = menuBar()->addMenu(title);
        for (const QString& name : names) {
            if (name.isEmpty())
                m->addSeparator();
            else
                m->addAction(Action(name));
        }
        return m;
    };
    QMenu* file =
        menu("文件(&F)", {"new", "open", "save", "save-as", "", "change-driver", "", "import", ""});
    m_pRecentMenu = file;
    m_pRecentSeparator = file->addSeparator();
    file->addAction(Action("exit"));

    menu("编辑(&E)", {"undo", "redo", "", "copy-elements", "cut", "paste", "", "delete-elements",
                      "", "bring-to-top", "send-to-bottom", "", "up-one-layer", "down-one-layer"});
    // The view menu's items are the bars' own toggles; they are added with the bars.
    menuBar()->addMenu(QStringLiteral("查看(&V)"))->setObjectName(QStringLiteral("viewMenu"));
    menu("画面(&P)", {"new-frame", "", "copy-frame", "", "delete-frame", "", "clear-elements"});
    menu("元件(&D)", {"static-text", "", "indicator", "", "function-key", "", "dynamic-text", "",
                      "register", "", "bar", "", "trend", "", "picture"});
    menu("设置(&S)", {"change-driver", "", "panel-settings", "", "alarm-list", "", "address-labels",
                      "", "layer-labels", "", "global-functions"});
    menu("下位机(&U)",
         {"download", "", "upload", "", "serial-port", "", "emulator", "", "check-project"});
    menu("帮助(&H)", {"product-catalogue", "", "help-document", "", "copy-usb-driver", "",
                      "software-update", "", "about"});
}

QToolBar* CMainFrame::AddToolBar(const QString& name, const QString& title,
                                 const QStringList& actions) {
    QToolBar* bar = addToolBar(title);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    for (const QString& action : actions) {
        if (action.isEmpty())
            bar->addSeparator();
        else
            bar->addAction(Action(action));
    }
    return bar;
}

void CMainFrame::CreateToolBars() {
    QToolBar* standard = AddToolBar("standardBar", "标准工具栏",
                                    {"new", "open", "save", "", "undo", "redo", "", "copy-elements",
                                     "cut", "paste", "", "about"});
    QToolBar* elements =
        AddToolBar("elementBar", "元件工具栏",
                   {"indicator", "function-key", "", "static-text", "dynamic-text", "", "register",
                    "bar", "trend", "picture", "", "new-frame", "copy-frame", "delete-frame"});
    QToolBar* download =
        AddToolBar("downloadBar", "下载工具栏",
                   {"alarm-list", "", "panel-settings", "", "serial-port", "address-labels",
                    "layer-labels", "usage-table", "check-project", "", "batch-download", "emulator",
                    "download"});
    elements->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    download->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    QToolBar* alignment =
        AddToolBar("alignmentBar", "对齐工具栏",
                   {"align-left", "align-right", "align-top", "align-bottom",
                    "distribute-horizontal", "distribute-vertical", "same-width", "same-height", "",
                    "bring-to-top", "send-to-bottom", "up-one-layer", "down-one-layer"});
    QToolBar* viewBar = AddToolBar("viewBar", "显示工具栏",
                                   {"zoom-out", "zoom-in", "zoom-fit", "", "grid", "snap"});

    const auto toggle = [](QToolBar* bar, const QString& text) {
        QAction* action = bar->toggleViewAction();
        action->setText(text);
        return action;
    };
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    QAction* standardToggle = toggle(standard, "标准工具栏(&T)");
    standardToggle->setStatusTip(QStringLiteral("显示或隐藏主工具栏"));
    view->addAction(standardToggle);
    view->addSeparator();
    m_actions.insert(QStringLiteral("toggle-standard-bar"), standardToggle);
    m_actions.insert(QStringLiteral("toggle-element-bar"), toggle(elements, "元件工具栏(&E)"));
    m_actions.insert(QStringLiteral("toggle-download-bar"), toggle(download, "下载工具栏(&D)"));
    m_actions.insert(QStringLiteral("toggle-alignment-bar"), toggle(alignment, "对齐工具栏(&A)"));
    m_actions.insert(QStringLiteral("toggle-view-bar"), toggle(viewBar, "显示工具栏(&Z)"));
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage(QStringLiteral("就绪"));
    m_pBudgetPane = new QLabel;
    m_pBudgetPane->setObjectName(QStringLiteral("budgetPane"));
    m_pBudgetPane->setContentsMargins(6, 0, 6, 0);
    bar->addPermanentWidget(m_pBudgetPane);
    const QStringList texts{
        {}, kNotice, QStringLiteral("无协议"), QStringLiteral("空工程路径"), m_doc.PortName()};
    for (int i = 1; i <= 4; ++i) {
        m_panes[i] = new QLabel(texts[i]);
        m_panes[i]->setObjectName(QStringLiteral("statusPane%1").arg(i));
        m_panes[i]->setContentsMargins(6, 0, 6, 0);
        bar->addPermanentWidget(m_panes[i]);
    }
    // The status bar's own toggle ends the view menu.
    QAction* toggle = new QAction(QStringLiteral("状态栏(&S)"), this);
    toggle->setObjectName(QStringLiteral("toggle-status-bar"));
    toggle->setStatusTip(QStringLiteral("显示或隐藏状态栏"));
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    m_actions.insert(toggle->objectName(), toggle);
}

void CMainFrame::CreateFrameList() {
    m_pFrameList = new CFormListBrowser(m_doc, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_pFrameList);
    m_pFrameListHelper = new CFormListHelper(m_doc, m_pFrameList->List(), this);

    auto* onEmpty = new QMenu(this);
    onEmpty->addAction(Action("new-frame"));
    auto* onRow = new QMenu(this);
    for (const char* name : {"new-frame", "copy-frame", "delete-frame"})
        onRow->addAction(Action(QString::fromLatin1(name)));
    onRow->addSeparator();
    onRow->addAction(Action("clear-elements"));
    m_pFrameList->List().SetContextMenus(onEmpty, onRow);

    QAction* toggle = m_pFrameList->toggleViewAction();
    toggle->setText(QStringLiteral("画面列表栏(&L)"));
    m_actions.insert(QStringLiteral("toggle-frame-list"), toggle);

    // The view menu in its order, now that every bar exists.
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    for (const char* name : {"toggle-frame-list", "toggle-element-bar", "toggle-download-bar",
                             "toggle-alignment-bar", "serial-ports", "toggle-status-bar"}) {
        view->addAction(Action(QString::fromLatin1(name)));
        if (qstrcmp(name, "toggle-status-bar") != 0)
            view->addSeparator();
    }
    // The canvas's view: its zoom, the pixel grid and snapping.
    view->addSeparator();
    for (const char* name : {"zoom-in", "zoom-out", "zoom-fit"})
        view->addAction(Action(QString::fromLatin1(name)));
    QMenu* zoom = view->addMenu(QStringLiteral("显示比例(&R)"));
    for (const int factor : ViewPreferences::kZoomFactors)
        zoom->addAction(Action(QStringLiteral("zoom-%1").arg(factor)));
    view->addSeparator();
    view->addAction(Action("grid"));
    view->addAction(Action("snap"));
    QMenu* grids = view->addMenu(QStringLiteral("吸附网格(&P)"));
    for (const int grid : ViewPreferences::kSnapGrids)
        grids->addAction(Action(QStringLiteral("snap-grid-%1").arg(grid)));
    view->addSeparator();
    view->addAction(Action("toggle-view-bar"));
    connect(&m_pFrameList->List(), &CFormListControl::rowSelectionChanged, this,
            &CMainFrame::UpdateCommandStates);
}

void CMainFrame::CreateCheckDock() {
    m_pCheckDock = new CCheckDock(m_doc, *m_pChecker, m_pFormView->Canvas(), this);
    addDockWidget(Qt::BottomDockWidgetArea, m_pCheckDock);
    m_pCheckDock->hide();
    connect(m_pCheckDock, &CCheckDock::partActivated, this, [this](CheckPart part) {
        Action(part == CheckPart::kSettings ? QStringLiteral("panel-settings")
                                            : QStringLiteral("alarm-list"))
            ->trigger();
    });
    connect(m_pChecker, &CProjectChecker::reportChanged, this, &CMainFrame::ShowBudget);
    ShowBudget();
}

void CMainFrame::ShowBudget() {
    const ImageBudget& budget = m_pChecker->Report().budget;
    const bool shown = m_doc.HasPlc();
    m_pBudgetPane->setVisible(shown);
    m_pBudgetPane->setText(shown ? BudgetSummary(budget) : QString());
    m_pBudgetPane->setToolTip(shown ? BudgetLines(budget).join(u'\n') : QString());
    const bool over = budget.compiled && budget.imageBytes > kImageLimit;
    m_pBudgetPane->setStyleSheet(over ? QStringLiteral("color: #d23b35; font-weight: bold;")
                                      : QString());
}

void CMainFrame::ConnectDocument() {
    connect(&m_doc, &CKoravelDoc::modifiedChanged, this, [this] {
        UpdateTitle();
        UpdateCommandStates();
    });
    connect(&m_doc, &CKoravelDoc::pathChanged, this, [this] {
        UpdateTitle();
        SetStatusPane(3, m_doc.Path().isEmpty() ? QStringLiteral("空工程路径")
                                                : QDir::toNativeSeparators(m_doc.Path()));
    });
    const auto showPlc = [this] {
        const CPLCEntity* plc = m_doc.Project().m_pCurrentPLC;
        SetStatusPane(2, plc ? plc->GetName() : QStringLiteral("无协议"));
        UpdateCommandStates();
    };
    connect(&m_doc, &CKoravelDoc::plcChanged, this, showPlc);
    connect(&m_doc, &CKoravelDoc::projectReset, this, showPlc);
    for (auto signal :
         {&CKoravelDoc::framesChanged, &CKoravelDoc::canvasChanged, &CKoravelDoc::selectionChanged})
        connect(&m_doc, signal, this, &CMainFrame::UpdateCommandStates);
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(m_doc.Title() + (m_doc.IsModified() ? QStringLiteral(" *") : QString()) +
                   QStringLiteral(" - designer"));
}

void CMainFrame::UpdateCommandStates() {
    const bool plc = m_doc.HasPlc();
    const CHMIFrame* frame = plc ? m_doc.CurrentFrame() : nullptr;
    const bool rowSelected = plc && !m_pFrameList->List().SelectedFrames().empty();
    const auto enable = [this](const char* name, bool on) {
        Action(QString::fromLatin1(name))->setEnabled(on);
    };
    for (const char* always :
         {"new", "open", "import", "exit", "serial-ports", "product-catalogue", "help-document",
          "copy-usb-driver", "software-update", "about", "address-labels", "layer-labels"})
        enable(always, true);
    enable("save", m_doc.IsModified());
    enable("save-as", frame != nullptr);
    enable("change-driver", plc);
    enable("undo", m_doc.UndoStack().canUndo());
    enable("redo", m_doc.UndoStack().canRedo());
    enable("new-frame", plc);
    enable("copy-frame", rowSelected);
    enable("delete-frame", rowSelected);
    enable("clear-elements", frame && !frame->m_Parts.empty());
    enable("panel-settings", plc);
    enable("alarm-list", frame != nullptr);
    UpdateCanvasCommandStates();
    enable("download", m_pDeviceCommands->CanDownload());
    enable("emulator", frame != nullptr);
    enable("batch-download", frame != nullptr);
    enable("check-project", plc);
    // Never enabled: no handler serves them.
    for (const char* never : {"global-functions", "upload", "serial-port"})
        enable(never, false);
    Action("address-labels")->setChecked(m_doc.Annotations().address);
    Action("layer-labels")->setChecked(m_doc.Annotations().layer);
}

void CMainFrame::UpdateCanvasCommandStates() {
    const CKoravelWnd& canvas = m_pFormView->Canvas();
    const bool frame = m_doc.HasPlc() && m_doc.CurrentFrame();
    const qsizetype selected = frame ? m_doc.Selection().size() : 0;
    const auto enable = [this](const QString& name, bool on) { Action(name)->setEnabled(on); };
    for (const char* place : {"static-text", "indicator", "function-key", "dynamic-text",
                              "register", "bar", "trend", "picture"})
        enable(QString::fromLatin1(place), frame);
    for (const char* one : {"copy-elements", "delete-elements", "cut"})
        enable(QString::fromLatin1(one), selected >= 1);
    enable("paste", frame && ClipboardHasElements());
    for (const char* stacking :
         {"bring-to-top", "send-to-bottom", "up-one-layer", "down-one-layer"})
        enable(QString::fromLatin1(stacking), selected == 1);
    for (const char* align : {"align-left", "align-right", "align-top", "align-bottom"})
        enable(QString::fromLatin1(align), selected > 1);
    enable("distribute-horizontal", selected >= 3);
    enable("distribute-vertical", selected >= 3);
    enable("same-width", frame && canvas.CanSameSize());
    enable("same-height", frame && canvas.CanSameSize());
    enable("usage-table", true);

    const ViewPreferences& prefs = canvas.Preferences();
    enable("zoom-in",
           canvas.Zoom() <
               ViewPreferences::kZoomFactors[std::size(ViewPreferences::kZoomFactors) - 1]);
    enable("zoom-out", canvas.Zoom() > ViewPreferences::kZoomFactors[0]);
    enable("zoom-fit", true);
    Action("zoom-fit")->setChecked(prefs.zoom == 0);
    for (const int factor : ViewPreferences::kZoomFactors) {
        const QString name = QStringLiteral("zoom-%1").arg(factor);
        enable(name, true);
        Action(name)->setChecked(prefs.zoom == factor);
    }
    enable("grid", true);
    Action("grid")->setChecked(prefs.pixelGrid);
    enable("snap", true);
    Action("snap")->setChecked(prefs.snap);
    for (const int grid : ViewPreferences::kSnapGrids) {
        const QString name = QStringLiteral("snap-grid-%1").arg(grid);
        enable(name, true);
        Action(name)->setChecked(prefs.snapGrid == grid);
    }
}

void CMainFrame::SetStatusPane(int index, const QString& text) {
    if (index < 1 || index > 4)
        return;
    // A long project path is shortened in its middle, so that it neither hides the other panes
    // nor keeps the window from getting narrower; the tool tip has it whole.
    constexpr int kWidestPane = 420;
    QLabel* pane = m_panes[index];
    const QString shown = pane->fontMetrics().elidedText(text, Qt::ElideMiddle, kWidestPane);
    pane->setText(shown);
    pane->setToolTip(shown == text ? QString() : text);
}

QString CMainFrame::StatusPane(int index) const {
    if (index < 1 || index > 4)
        return statusBar()->currentMessage();
    const QLabel* pane = m_panes[index];
    return pane->toolTip().isEmpty() ? pane->text() : pane->toolTip();
}

// --- Recent files -------------------------------------------------------------------------

void CMainFrame::UpdateRecentFiles() {
    for (QAction* action : m_recentActions)
        delete action;
    m_recentActions.clear();
    const QStringList files = RecentFiles();
    if (files.isEmpty()) {
        auto* none = new QAction(QStringLiteral("最近文件"), this);
        none->setEnabled(false);
        m_recentActions << none;
    }
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])), this);
        action->setObjectName(QStringLiteral("recent-file-%1").arg(i + 1));
        action->setStatusTip(QStringLiteral("打开该文档"));
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] { OpenProject(path); });
        m_recentActions << action;
    }
    m_pRecentMenu->insertActions(m_pRecentSeparator, m_recentActions);
}

void CMainFrame::AddRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    WriteRecentFiles(files.mid(0, kRecentFiles));
    UpdateRecentFiles();
}

void CMainFrame::RemoveRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    WriteRecentFiles(files);
    UpdateRecentFiles();
}

// --- Placement ------------------------------------------------------------------------------

void CMainFrame::RestorePlacement() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const int x = ProfileReadInt(kPlacement, QStringLiteral("x"), 10);
    const int y = ProfileReadInt(kPlacement, QStringLiteral("y"), 10);
    const int cx = ProfileReadInt(kPlacement, QStringLiteral("cx"), screen.width() / 2);
    const int cy = ProfileReadInt(kPlacement, QStringLiteral("cy"), screen.height() / 2);
    const int state = ProfileReadInt(kPlacement, QStringLiteral("State"), 0);
    setGeometry(state == 1 ? 0 : x, state == 1 ? 0 : y, cx, cy);
    if (state == -1)
        setWindowState(Qt::WindowMinimized);
}

void CMainFrame::SavePlacement() const {
    if (isMinimized()) {
        ProfileWriteInt(kPlacement, QStringLiteral("State"), -1);
    } else if (isMaximized()) {
        ProfileWriteInt(kPlacement, QStringLiteral("State"), 1);
    } else {
        const QRect r = geometry();
        ProfileWriteInt(kPlacement, QStringLiteral("x"), r.x());
        ProfileWriteInt(kPlacement, QStringLiteral("y"), r.y());
        ProfileWriteInt(kPlacement, QStringLiteral("cx"), r.width());
        ProfileWriteInt(kPlacement, QStringLiteral("cy"), r.height());
        ProfileWriteInt(kPlacement, QStringLiteral("State"), 0);
    }
}

// --- Closing --------------------------------------------------------------------------------

void CMainFrame::RemoveBatchToolFiles() const {
    RemovePublishFolders(ProgramFolder());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    RemoveBatchToolFiles();
    if (m_doc.IsBusy()) {
        QApplication::beep();
        event->ignore();
        return;
    }
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SavePlacement();
    event->accept();
}

QMessageBox::StandardButton CMainFrame::AskToSave(QMessageBox::StandardButtons answers) {
    const QString name =
        m_doc.Path().isEmpty() ? m_doc.Title() : QDir::toNativeSeparators(m_doc.Path());
    return QMessageBox::question(this, QStringLiteral("designer"),
                                 QStringLiteral("将改动保存到 %1？").arg(name), answers,
                                 QMessageBox::Yes);
}

bool CMainFrame::SaveModified() {
    if (!m_doc.IsModified())
        return true;
    const auto answer = AskToSave(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || Save(false);
}

void CMainFrame::SaveBeforeEnding() {
    while (m_doc.IsModified()) {
        if (AskToSave(QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes || Save(false))
            return;
    }
}

QString CMainFrame::ProjectFolder() const {
    if (!m_doc.Path().isEmpty())
        return QFileInfo(m_doc.Path()).absolutePath();
    const QStringList recent = RecentFiles();
    if (!recent.isEmpty())
        return QFileInfo(recent.front()).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool CMainFrame::Save(bool askForPath) {
    QString path = m_doc.Path();
    if (askForPath || path.isEmpty()) {
        QFileDialog dialog(
            this, QStringLiteral("保存为"),
            path.isEmpty() ? QDir(ProjectFolder()).filePath(m_doc.Title() + QStringLiteral(".kvpr"))
                           : path,
            QStringLiteral("Lumo 工程文件 (*.kvpr)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("kvpr"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        path = dialog.selectedFiles().front();
    }
    QString error;
    if (!m_doc.Save(path, &error)) {
        QMessageBox::warning(this, kCaption, QStringLiteral("保存工程失败！\n\n%1").arg(error));
        return false;
    }
    AddRecentFile(m_doc.Path());
    return true;
}

// --- Opening --------------------------------------------------------------------------------

bool CMainFrame::OpenProject(const QString& path) {
    if (!SaveModified())
        return false;
    QStringList messages;
    QString reason;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = m_doc.Load(path, messages, &reason);
    QApplication::restoreOverrideCursor();
    if (!loaded && !messages.contains(kDamagedFileMessage))
        messages.append(kDamagedFileMessage);
    for (const QString& message : messages) {
        const QString text = !loaded && message == kDamagedFileMessage && !reason.isEmpty()
                                 ? message + QStringLiteral("\n\n") + reason
                                 : message;
        QMessageBox::information(this, kCaption, text);
    }
    if (!loaded) {
        RemoveRecentFile(path);
        return false;
    }
    AddRecentFile(m_doc.Path());
    return true;
}

void CMainFrame::OnOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), ProjectFolder(),
                                                      QStringLiteral("KV250 工程文件(*.kvpr)"));
    if (!path.isEmpty())
        OpenProject(path);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && IsProjectFile(urls.front()))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !IsProjectFile(urls.front()))
        return;
    event->acceptProposedAction();
    OpenProject(urls.front().toLocalFile());
}

// --- Project commands -----------------------------------------------------------------------

void CMainFrame::OnNew() {
    if (!SaveModified())
        return;
    // As a new document: untitled and without a PLC until the driver is chosen.
    m_doc.ResetToEmpty();
    DlgDriverSetting dialog(m_doc.Catalog(), nullptr, CCommPara(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_doc.NewProject(dialog.GetPLC(), dialog.GetCommPara());
}

void CMainFrame::OnChangeDriver() {
    const CKoravelProject& project = m_doc.Project();
    DlgDriverSetting dialog(m_doc.Catalog(), project.m_pCurrentPLC, project.m_CommPara, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The parameters count as a change too: they are part of the project.
    if (dialog.IsChanged() || !SameCommPara(dialog.GetCommPara(), project.m_CommPara))
        m_doc.Push(new CmdChangeDriver(m_doc, dialog.GetPLC(), dialog.GetCommPara()));
    m_doc.NotifyCanvas();
}

void CMainFrame::OnPanelSettings() {
    const CKoravelProject& project = m_doc.Project();
    const CKoravelSetting current =
        project.m_pSetting ? *project.m_pSetting : CKoravelSetting(project.m_pCurrentPLC);
    DlgKoravelSetting dialog(current, *project.m_pCurrentPLC, project.HighestFrameNumber(), this);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    // Cancel keeps what the dialog took at once (the clamped frames, the control registers).
    if (confirmed || SettingsDiffer(project, dialog.GetSetting()))
        m_doc.Push(new CmdChangeSettings(m_doc, dialog.GetSetting()));
}

// --- Frame commands -------------------------------------------------------------------------

void CMainFrame::AddFrame(std::unique_ptr<CHMIFrame> frame, const QString& text) {
    if (m_doc.Project().FrameNamed(frame->m_strName)) {
        QMessageBox::information(this, kCaption, kFrameExistsMessage);
        return;
    }
    m_doc.Push(new CmdAddFrame(m_doc, std::move(frame), text));
}

void CMainFrame::OnNewFrame() {
    // The counter advances whether or not the user confirms the number.
    DlgNewFrame dialog(m_doc.Project().TakeFrameNumber(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int number = dialog.GetNumber();
    auto frame = std::make_unique<CHMIFrame>();
    frame->m_strName = QString::number(number);
    frame->m_nID = static_cast<std::uint16_t>(number);
    frame->m_strDesc = dialog.GetDesc();
    frame->m_nNextID = number + 1;
    frame->m_nPrevID = number - 1;
    AddFrame(std::move(frame), QStringLiteral("新建画面"));
}

void CMainFrame::OnCopyFrame() {
    const CHMIFrame* source = m_doc.CurrentFrame();
    if (!source)
        return;
    DlgCopyFrame dialog(source->m_nID, m_doc.Project().TakeFrameNumber(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int number = dialog.GetNumber();
    std::unique_ptr<CHMIFrame> copy = source->CloneFrame();
    copy->m_nID = static_cast<std::uint16_t>(number);
    copy->m_strName = QString::number(number);
    copy->m_nNextID = number + 1;
    copy->m_nPrevID = source->m_nID;
    copy->m_nBkColor = source->m_nBkColor;
    AddFrame(std::move(copy), QStringLiteral("复制画面"));
}

void CMainFrame::OnDeleteFrames() {
    const std::vector<CHMIFrame*> frames = m_pFrameList->List().SelectedFrames();
    if (!frames.empty())
        m_doc.Push(new CmdDeleteFrames(m_doc, frames));
}

void CMainFrame::OnClearElements() {
    CHMIFrame* frame = m_doc.CurrentFrame();
    if (frame && !frame->m_Parts.empty())
        m_doc.Push(new CmdClearElements(m_doc, frame));
}

// --- Settings and help ----------------------------------------------------------------------

void CMainFrame::OnImportOldProject() {
    const QString converter = ProgramFilePath(QStringLiteral("KV250 Convert/KV250Convert"));
    if (!QFileInfo(converter).isExecutable() || !QProcess::startDetached(converter, {}))
        QMessageBox::information(this, kCaption, QStringLiteral("转换失败，请重新安装软件！"));
}

void CMainFrame::OnSerialPorts() {
    DlgEnumCom dialog(this);
    dialog.exec();
}

void CMainFrame::OnToggleAnnotation(bool layer, bool on) {
    AnnotationFlags flags = m_doc.Annotations();
    (layer ? flags.layer : flags.address) = on;
    m_doc.SetAnnotations(flags);
    IniWriteString(layer ? QStringLiteral("Index") : QStringLiteral("Label"),
                   QStringLiteral("Show"), on ? QStringLiteral("1") : QStringLiteral("0"),
                   ProgramFilePath(QStringLiteral("config.dll")));
}

void CMainFrame::OnAbout() {
    DlgAbout(DlgAbout::BuildVersion(), this).exec();
}

void CMainFrame::OnHelpDocument() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramFilePath(QStringLiteral("KV250.pdf"))));
}

void CMainFrame::OnProductCatalogue() {
    const QString catalogue = ProgramFilePath(QStringLiteral("KV250产品介绍.pdf"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramFolder()));
    QDesktopServices::openUrl(QUrl::fromLocalFile(catalogue));
}

void CMainFrame::OnCopyUsbDriver() {
    if (m_usbDriverCopy.joinable())
        return;
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("请选择文件夹:"),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    if (chosen.isEmpty())
        return;
    const QString source = ProgramFilePath(QStringLiteral("usb_driver"));
    const QString target = QDir(chosen).filePath(QStringLiteral("usb_driver"));
    m_usbDriverCopy = std::thread([this, source, target] {
        const bool copied = CopyFolder(source, target);
        QMetaObject::invokeMethod(
            this, [this, target, copied] { CopyUsbDriverFinished(target, copied); });
    });
}

void CMainFrame::CopyUsbDriverFinished(const QString& target, bool copied) {
    m_usbDriverCopy.join();
    if (!copied) {
        QMessageBox::warning(
            this, kCaption,
            QStringLiteral("拷贝USB驱动失败：%1").arg(QDir::toNativeSeparators(target)));
        return;
    }
    QMessageBox::warning(this, kCaption, QStringLiteral("拷贝完成!"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}
