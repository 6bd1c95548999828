#include "CheckTestSupport.h"

#include "AtomicFile.h"
#include "ReportFormat.h"

#include <gtest/gtest.h>

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll"));
    EXPECT_TRUE(loaded);
    return catalog;
}

std::unique_ptr<CKoravelProject> BaseProject() {
    auto project = std::make_unique<CKoravelProject>();
    project->m_pCurrentPLC = Catalog().GetPLC(2);
    CHMIFrame* first = project->NewFrame(1, QStringLiteral("first"));
    first->m_nPrevID = 0;
    CHMIFrame* second = project->NewFrame(2, QStringLiteral("second"));
    second->m_nNextID = 0;
    project->m_pCurrentFrame = first;
    return project;
}

const CPLCRegType* TypeNamed(const CKoravelProject& project, int kind, const QString& name) {
    for (const CPLCRegType* type : project.m_pCurrentPLC->GetTypeList(kind, PLC_ANY)) {
        if (type->GetTypeName() == name)
            return type;
    }
    ADD_FAILURE() << "no type " << name.toStdString();
    return nullptr;
}

std::unique_ptr<CKoravelProject> DemoProject() {
    auto project = std::make_unique<CKoravelProject>();
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr"), bytes));
    QStringList messages;
    EXPECT_TRUE(project->LoadBytes(bytes, Catalog(), messages));
    return project;
}

std::ostream& operator<<(std::ostream& out, const CheckFinding& finding) {
    return out << FindingLine(finding).toStdString();
}
