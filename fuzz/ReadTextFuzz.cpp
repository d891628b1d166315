// "text.dat" contents of any length: every name stays within its field, and what is read
// writes back to records that read again the same.
#include "core/RunLog.h"
#include "text/ReadTextRecord.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadTextRecord rec;
    rec.mergeRecords(data, size);
    for (const auto& [name, value] : rec.entries())
        if (name.size() > ReadTextRecord::kNameField)
            std::abort();
    ReadTextRecord fitting;
    for (const auto& [name, value] : rec.entries())
        if (name.size() < ReadTextRecord::kNameField)
            fitting.recordReadPosition(name, value);
    const std::vector<uint8_t> bytes = rec.encodeRecords();
    ReadTextRecord back;
    back.mergeRecords(bytes.data(), bytes.size());
    if (back.entries() != fitting.entries())
        std::abort();
    runLog().clear();
    return 0;
}
