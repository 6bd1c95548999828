#include "DlgBatchTool.h"

#include "BatchDelivery.h"
#include "DriverFile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kLadderOnlyForIntegratedPlc =
    QStringLiteral("梯形图程序仅限 『VarnelLX一体机型号』 使用");
const QString kSucceeded = QStringLiteral("生成批量下载器 —— 操作成功！");
const QString kFailed = QStringLiteral("生成批量下载器 —— 操作失败！");
const QString kPasswordTooLong = QStringLiteral("密码长度最大为");

struct MessageStyle {
    QString caption;
    QMessageBox::Icon icon;
};

// The caption and icon each outcome of a generation is shown with.
MessageStyle StyleOf(const QString& message, bool zip) {
    if (message.startsWith(kSucceeded))
        return zip ? MessageStyle{QStringLiteral("提示"), QMessageBox::Information}
                   : MessageStyle{QStringLiteral("designer"), QMessageBox::Question};
    if (message.startsWith(kFailed))
        return {QStringLiteral("designer"), QMessageBox::Question};
    if (message.startsWith(QStringLiteral("工程文件不存在")) ||
        message.startsWith(kPasswordTooLong))
        return {QStringLiteral("提示"), QMessageBox::Warning};
    if (message.startsWith(u'['))
        return {QStringLiteral("designer"), QMessageBox::Warning};
    return {QStringLiteral("designer"), QMessageBox::Information};
}

QLabel* RedNote(const QString& text) {
    auto* note = new QLabel(text);
    note->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    return note;
}

} // namespace

DlgBatchTool::DlgBatchTool(const QString& programFolder, int plcId, QWidget* parent)
    : QDialog(parent), m_strProgramFolder(programFolder), m_nPlcId(plcId), m_pTitle(new QLineEdit),
      m_pVersion(new QLineEdit), m_pLogin(new QCheckBox(QStringLiteral("启动密码"))),
      m_pPassword(new QLineEdit),
      m_pZip(new QCheckBox(QStringLiteral("是否将USB驱动打包发布(适合新电脑未装驱动程序)"))),
      m_pPlcFile(new QLineEdit), m_pChoosePlc(new QPushButton(QStringLiteral("..."))),
      m_pMake(new QPushButton(QStringLiteral("立即制作发布程序"))) {
    setObjectName(QStringLiteral("batchToolDialog"));
    setWindowTitle(QStringLiteral("项目发布 —— 制作批量下载工具V1.0"));
    auto* close = new QPushButton(QStringLiteral("关闭窗口"));
    m_pTitle->setObjectName(QStringLiteral("titleEdit"));
    m_pTitle->setMaxLength(4096);
    m_pVersion->setObjectName(QStringLiteral("versionEdit"));
    m_pLogin->setObjectName(QStringLiteral("loginCheck"));
    m_pPassword->setObjectName(QStringLiteral("passwordEdit"));
    m_pZip->setObjectName(QStringLiteral("zipCheck"));
    m_pPlcFile->setObjectName(QStringLiteral("plcFileEdit"));
    m_pChoosePlc->setObjectName(QStringLiteral("plcFileButton"));
    m_pMake->setObjectName(QStringLiteral("makeButton"));
    close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* button : {m_pChoosePlc, m_pMake, close})
        button->setAutoDefault(false);
    m_pChoosePlc->setFixedWidth(m_pChoosePlc->fontMetrics().horizontalAdvance(u'.') * 3 + 24);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("软件标题:")), 0, 0);
    fields->addWidget(m_pTitle, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("软件版本:")), 1, 0);
    fields->addWidget(m_pVersion, 1, 1, 1, 2);
    fields->addWidget(m_pLogin, 2, 0);
    fields->addWidget(m_pPassword, 2, 1, 1, 2);
    fields->addWidget(m_pZip, 3, 0, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("PLC梯形图程序:")), 4, 0);
    fields->addWidget(m_pPlcFile, 4, 1);
    fields->addWidget(m_pChoosePlc, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pMake);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(RedNote(QStringLiteral("注意：1. 梯形图程序仅适用于VarnelLX一体机型号；")));
    layout->addWidget(RedNote(QStringLiteral("2. 请选择PMW类型的梯形图程序文件；")));
    layout->addWidget(RedNote(QStringLiteral("3. 不需要下载梯形图程序时请留空。")));
    layout->addLayout(buttons);
    resize(520, sizeHint().height());

    connect(m_pChoosePlc, &QPushButton::clicked, this, &DlgBatchTool::OnChoosePlcProgram);
    connect(m_pMake, &QPushButton::clicked, this, &DlgBatchTool::OnMake);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    LoadSettings();
}

DlgBatchTool::~DlgBatchTool() {
    JoinGeneration();
}

void DlgBatchTool::LoadSettings() {
    const BatchToolSettings settings =
        LoadBatchToolSettings(QDir(m_strProgramFolder).filePath(kBatchToolSettingsFile));
    m_pTitle->setText(settings.title);
    m_pVersion->setText(settings.version);
    m_pPassword->setText(settings.password);
    m_pLogin->setChecked(settings.bpass);
    m_pZip->setChecked(settings.busb);
    // The field starts with its prompt, or tells why it is off.
    const bool ladder = m_nPlcId == kIntegratedPlcId;
    m_pPlcFile->setEnabled(ladder);
    m_pChoosePlc->setEnabled(ladder);
    m_pPlcFile->setText(ladder ? QStringLiteral("请选择一个PMW类型的文件")
                               : kLadderOnlyForIntegratedPlc);
}

BatchToolSettings DlgBatchTool::SettingsFromControls() const {
    return {m_pTitle->text(),      m_pVersion->text(),  m_pPassword->text(),
            m_pLogin->isChecked(), m_pZip->isChecked(), m_pPlcFile->text()};
}

void DlgBatchTool::OnChoosePlcProgram() {
    QFileDialog dialog(this, QString(), QString(), QStringLiteral("PLC Program File %s(*.pmw)"));
    dialog.setObjectName(QStringLiteral("plcProgramDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("pmw"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_pPlcFile->setText(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

void DlgBatchTool::OnMake() {
    if (m_generation.joinable())
        return;
    const BatchToolSettings settings = SettingsFromControls();
    SaveBatchToolSettings(settings, QDir(m_strProgramFolder).filePath(kBatchToolSettingsFile));

    const bool zip = settings.busb;
    QFileDialog dialog(this, QStringLiteral("另存为"), QString(),
                       zip ? QStringLiteral("Varnel批量生产工具(*.zip)")
                           : QStringLiteral("Varnel批量生产工具(*.exe)"));
    dialog.setObjectName(QStringLiteral("outputDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(zip ? QStringLiteral("zip") : QStringLiteral("exe"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;

    BatchToolRequest request;
    request.outputPath = dialog.selectedFiles().front();
    request.loader = EmbeddedBatchLoader();
    request.title = settings.title;
    request.login = settings.bpass;
    request.password = settings.password;
    request.plcId = m_nPlcId;
    request.plcFile = settings.plcfile;
    m_pMake->setEnabled(false);
    m_generation = std::thread([this, request, zip, folder = m_strProgramFolder] {
        const PublishResult result =
            zip ? GenerateZipDelivery(folder, request) : GenerateToolProgram(folder, request);
        QMetaObject::invokeMethod(
            this, [this, result, zip] { Generated(result, zip); }, Qt::QueuedConnection);
    });
}

void DlgBatchTool::Generated(const PublishResult& result, bool zip) {
    JoinGeneration();
    // A generation that the closing dialog waited for has nobody left to tell.
    if (!isVisible())
        return;
    if (!result.message.isEmpty()) {
        const MessageStyle style = StyleOf(result.message, zip);
        QMessageBox box(style.icon, style.caption, result.message, QMessageBox::Ok, this);
        box.setDetailedText(result.detail);
        box.exec();
        if (result.message.startsWith(kPasswordTooLong))
            m_pPassword->setFocus();
    }
    m_pMake->setEnabled(true);
}

void DlgBatchTool::JoinGeneration() {
    if (m_generation.joinable())
        m_generation.join();
}

void DlgBatchTool::done(int result) {
    JoinGeneration();
    RemovePublishFolders(m_strProgramFolder);
    QDialog::done(result);
}

void DlgBatchTool::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
