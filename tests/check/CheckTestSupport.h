#pragma once

#include "GraphBase.h"
#include "KoravelProject.h"
#include "PLCFactory.h"
#include "ProjectCheck.h"

#include <QRect>

#include <memory>
#include <ostream>
#include <type_traits>

// The catalog of the program folder: PLC 2 (the compact PLC of the demo) has bits M 0-7679,
// X and Y 0-377 octal, registers D 0-7999 with counts 1|2; PLC 1 (Modbus) has stations
// 1-247 and the bit type 4X.B with bits 0-15; the local description has LB and LW (code 0x70).
const CPLCFactory& Catalog();

// Bound to PLC 2: frame 1 (↑ start frame, ↓ frame 2) and frame 2 (↑ frame 1, ↓ start frame),
// default settings, no alarm list. Nothing to find in it.
std::unique_ptr<CKoravelProject> BaseProject();

template <typename Element> int TypeCodeOf() {
    if constexpr (std::is_constructible_v<Element, const CPLCEntity*>)
        return Element(nullptr).m_nTypeCode;
    else
        return Element().m_nTypeCode;
}

// A new element of the kind with its defaults in `rect`, on top of the frame with `frameId`.
template <typename Element> Element& Add(CKoravelProject& project, QRect rect, int frameId = 1) {
    auto element = CGraphBase::CreateByType(TypeCodeOf<Element>(), project.m_pCurrentPLC);
    element->SetRect(rect);
    return static_cast<Element&>(
        *project.FindFrame(static_cast<std::uint16_t>(frameId))->AddElement(std::move(element)));
}

// The type of the project's PLC (or of the local description) named `name`.
const CPLCRegType* TypeNamed(const CKoravelProject& project, int kind, const QString& name);

// The demo project as demogen wrote it, bound to the catalog.
std::unique_ptr<CKoravelProject> DemoProject();

std::ostream& operator<<(std::ostream& out, const CheckFinding& finding);
