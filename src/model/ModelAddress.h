#pragma once

#include "PLCAddress.h"

// The model works with the project's PLC as a pointer: a project may have none yet (a new
// project before its PLC is chosen, or a file whose PLC the catalog lacks). Without one an
// address has no type and keeps its numbers.

// An empty description that offers no types.
const CPLCEntity& NoPLC();
inline const CPLCEntity& PLCOrNone(const CPLCEntity* plc) {
    return plc ? *plc : NoPLC();
}

inline CPLCAddress NewAddress(int kind, int mode, const CPLCEntity* plc) {
    return CPLCAddress(kind, mode, PLCOrNone(plc));
}

// Re-binding needs a PLC to bind to; without one the address stays as it is.
inline void RebindAddress(CPLCAddress& address, const CPLCEntity* plc) {
    if (plc)
        address.ReBind(*plc);
}

// Bit width x register count: what bounds the values of the address.
inline int UnitCount(const CPLCAddress& address) {
    return address.Encode().unitCount;
}

// The step between neighbouring registers of the address's type; 0 without a type.
inline int AddrInc(const CPLCAddress& address) {
    return address.GetRegType() ? address.GetRegType()->GetAddrInc() : 0;
}
