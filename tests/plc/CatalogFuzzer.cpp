// Catalog reading on arbitrary text. The input is the plain catalog text (so a corpus can start
// from data/catalog), scrambled here as Factory.dll holds it. Every description that loads is
// also used the way the designer uses it: type lists, new addresses, re-binding, encoding.
//   plc_catalog_fuzzer -dict=tests/plc/CatalogFuzzer.dict CORPUS data/catalog

#include "PLCAddress.h"
#include "PLCFactory.h"
#include "Scramble.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray catalogFile(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    XorScramble(catalogFile);
    CPLCFactory catalog;
    if (!catalog.ReadCatalog(catalogFile))
        return 0;

    const CPLCEntity* first = nullptr;
    for (int id = 0; id < catalog.GetCount() + 2; ++id) {
        const CPLCEntity* plc = catalog.GetPLC(static_cast<std::uint16_t>(id));
        if (!plc)
            continue;
        if (!first)
            first = plc;
        for (int kind : {PLC_BIT, PLC_WORD, PLC_ALARM}) {
            for (int mode : {PLC_READ, PLC_WRITE, PLC_READWRITE, PLC_ANY}) {
                for (const CPLCRegType* type : plc->GetTypeList(kind, mode))
                    (void)type->GetTypeName().size();
                CPLCAddress address(kind, mode, *plc);
                address.SetRegType(address.GetRegType(), 1000);
                address.ReBind(*first);
                (void)address.Encode();
            }
        }
    }
    return 0;
}
