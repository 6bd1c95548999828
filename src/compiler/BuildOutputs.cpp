#include "BuildOutputs.h"

#include "ChildProcess.h"
#include "CompileHelper.h"
#include "DriverFile.h"
#include "Handover.h"
#include "Ini.h"
#include "KoravelProject.h"
#include "NamedSharedMemory.h"
#include "PLCEntity.h"
#include "ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <new>

namespace {

// Reads the whole file, telling a buffer that cannot be had from a file that cannot be read.
bool ReadDriver(const QString& path, QByteArray& driver, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = kDriverReadMessage;
        return false;
    }
    QByteArray data;
    try {
        data.resize(file.size());
    } catch (const std::bad_alloc&) {
        error = kDriverAllocMessage;
        return false;
    }
    if (file.read(data.data(), data.size()) != data.size()) {
        error = kDriverReadMessage;
        return false;
    }
    driver = std::move(data);
    return true;
}

bool LoadVariant(const CPLCEntity* plc, const QString& fileName, const QString& otherPLCLine,
                 QByteArray& driver, QString& error, QStringList& log) {
    if (!plc)
        return false;
    if (plc->GetProtocolID() != kIntegratedPlcId) {
        log.append(otherPLCLine);
        return false;
    }
    const QString path = DriverFilePath(fileName);
    if (!CheckDriverFile(path)) {
        error = kDriverDamagedMessage.arg(plc->GetPTCFile());
        return false;
    }
    return ReadDriver(path, driver, error);
}

} // namespace

bool PadImage(const QByteArray& image, QByteArray& padded, QString& error) {
    if (image.size() > kMaxImageSize) {
        error = kImageTooLargeMessage;
        return false;
    }
    padded = image;
    padded.append((4 - image.size() % 4) % 4, '\0');
    return true;
}

bool LoadPLCDriver(const CPLCEntity& plc, const QString& path, QByteArray& driver, QString& error) {
    if (!CheckDriverFile(path)) {
        error = (QFileInfo::exists(path) ? kDriverDamagedMessage : kDriverMissingMessage)
                    .arg(plc.GetPTCFile());
        return false;
    }
    return ReadDriver(path, driver, error);
}

bool LoadDriverVariant20(const CPLCEntity* plc, QByteArray& driver, QString& error,
                         QStringList& log) {
    return LoadVariant(plc, kIntegratedDriver20,
                       QStringLiteral("m_pCurrentPLC->GetProtocolID() != 3"), driver, error, log);
}

bool LoadDriverVariant32(const CPLCEntity* plc, QByteArray& driver, QString& error,
                         QStringList& log) {
    const QString line = plc ? QStringLiteral("Factor = %1").arg(plc->GetProtocolID()) : QString();
    return LoadVariant(plc, kIntegratedDriver32, line, driver, error, log);
}

bool LoadDriverVariantNamed(const CPLCEntity* plc, const QString& fileName, QByteArray& driver,
                            QString& error, QStringList& log) {
    if (fileName == DriverFileForModel(kModelPlcPanel20))
        return LoadDriverVariant20(plc, driver, error, log);
    if (fileName == DriverFileForModel(kModelPlcPanel32))
        return LoadDriverVariant32(plc, driver, error, log);
    return false;
}

QString EmulatorPath() {
    const QString settings = ProgramFilePath(QStringLiteral("setting.ini"));
    QString path =
        IniReadString(QStringLiteral("Header"), QStringLiteral("Monitor"), QString(), settings);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        path = ProgramFilePath(QStringLiteral("Emulator"));
    IniWriteString(QStringLiteral("Header"), QStringLiteral("Monitor"), path, settings);
    return path;
}

bool WriteHandover(NamedSharedMemory& memory, const QByteArray& padded, std::uint8_t key) {
    return memory.Data() && Handover::Encode(padded, key, {memory.Data(), memory.Size()});
}

std::unique_ptr<NamedSharedMemory> CreateHandover(const QByteArray& padded) {
    auto memory = std::make_unique<NamedSharedMemory>();
    const auto key = static_cast<std::uint8_t>(QRandomGenerator::global()->bounded(128));
    if (!memory->Create(Handover::kName, Handover::kSize) || !WriteHandover(*memory, padded, key))
        return nullptr;
    return memory;
}

void RunEmulator(const QString& program, const std::atomic<bool>& abort) {
    ChildProcess emulator;
    if (!emulator.Start(program, {Handover::kName}))
        return;
    while (!abort && !emulator.WaitForEnd(100)) {
    }
}

bool RunCompileJob(const CKoravelProject& project, CompileOutputs& outputs, QString& error,
                   ICompileProgress* progress, const std::atomic<bool>* abort) {
    error.clear();
    QByteArray image;
    CCompileHelper compiler(progress, abort);
    if (!compiler.Compile(project, image, error))
        return false;
    if (!PadImage(image, outputs.image, error))
        return false;
    const CPLCEntity* plc = project.m_pCurrentPLC;
    outputs.driver.clear();
    return !plc || plc->GetProtocolID() == kIntegratedPlcId ||
           LoadPLCDriver(*plc, DriverFilePath(*plc), outputs.driver, error);
}
