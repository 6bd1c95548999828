#pragma once

#include "GraphBase.h"
#include "KoravelProject.h"
#include "PLCFactory.h"

#include <QByteArray>

#include <cstdint>
#include <type_traits>

// A small catalog: PLC 1 with bit type X, word types W (16 bits), D (32 bits) and alarm type A;
// PLC 2 whose driver file no test writes; PLC 3 to stand for the PLC with two driver variants.
const CPLCEntity* UnitPLC(std::uint16_t id = 1);
// The first type of `kind` whose name is `name`.
const CPLCRegType* UnitType(int kind, const QString& name);

// A project bound to the unit PLC with `frames` empty frames numbered 1, 2, ...
std::unique_ptr<CKoravelProject> NewProject(int frames = 1);

template <typename Element> int TypeCodeOf() {
    if constexpr (std::is_constructible_v<Element, const CPLCEntity*>)
        return Element(nullptr).m_nTypeCode;
    else
        return Element().m_nTypeCode;
}

// A new element of the kind with its defaults, on top of the frame (a picture at the back).
template <typename Element> Element& AddElement(CKoravelProject& project, int frame = 0) {
    auto element = CGraphBase::CreateByType(TypeCodeOf<Element>(), project.m_pCurrentPLC);
    return static_cast<Element&>(
        *project.m_Frames[static_cast<std::size_t>(frame)]->AddElement(std::move(element)));
}

// Compiles and fails the test when the compile fails.
QByteArray CompileImage(const CKoravelProject& project);

std::uint8_t U8(const QByteArray& image, std::uint32_t address);
std::uint32_t BE16(const QByteArray& image, std::uint32_t address);
std::uint32_t BE32(const QByteArray& image, std::uint32_t address);
std::uint32_t LE16(const QByteArray& bytes, qsizetype offset);
std::uint32_t LE32(const QByteArray& bytes, qsizetype offset);
// The bytes at a panel address.
QByteArray At(const QByteArray& image, std::uint32_t address, int length);

// Panel address of the n-th element index entry's record, and that record's length (up to
// the next record or the alarm section).
std::uint32_t RecordAddress(const QByteArray& image, int n);
int RecordLength(const QByteArray& image, int n);
