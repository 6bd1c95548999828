#pragma once

class QCoreApplication;

// The texts that the system itself puts into windows (the standard buttons of message boxes,
// the file dialogs, the context menus of edit fields) in Chinese, as on a Chinese desktop, so
// that "确定" and "取消" stand beside the programs' own Chinese texts. Qt's Chinese catalogue
// is used where it is installed; without it the texts stay Qt's English ones.
void InstallSystemTexts(QCoreApplication& app);
