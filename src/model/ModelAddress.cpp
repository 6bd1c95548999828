#include "ModelAddress.h"

const CPLCEntity& NoPLC() {
    static const CPLCEntity none;
    return none;
}
