#pragma once

#include <QString>

// What the compile reports while it runs; the compile dialog (or a console) implements it. The
// compile only calls these and never waits for the user.
class ICompileProgress {
public:
    virtual ~ICompileProgress() = default;
    virtual void Reset() = 0;
    virtual void SetOverallRange(int steps) = 0;
    virtual void StepOverall() = 0;
    // Shown after "正在编译：".
    virtual void SetTitle(const QString& title) = 0;
    virtual void SetCurrentPos(int percent) = 0;
    virtual void SetCurrentText(const QString& text) = 0;
    virtual void SetOverallPercent(int percent) = 0;
};

// The phase texts, in compile order.
inline const QString kPhaseAlarmList = QStringLiteral("报警列表");
inline const QString kPhaseFullWidthGlyphs = QStringLiteral("全角字库");
inline const QString kPhaseFullWidthTable = QStringLiteral("汉字字库");
inline const QString kPhaseHalfWidthGlyphs = QStringLiteral("半角字库");
inline const QString kPhaseHalfWidthTable = QStringLiteral("ASC字库");
inline const QString kPhasePictures = QStringLiteral("静态图片");
inline const QString kPhaseHeader = QStringLiteral("初始化内存");
inline const QString kPhaseRelocation = QStringLiteral("计算内存地址");
inline const QString kPhaseDone = QStringLiteral("编译完成");
