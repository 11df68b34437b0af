#include "scan/SaveThread.h"

namespace velmora {

bool SaveThread::Start() {
    return worker_.Start([this] { SaveAll(context_, records_); });
}

std::size_t SaveThread::SaveAll(EngineContext& context, const RecordList& records) {
    std::size_t failed = 0;
    for (Mp3File* record : records.All()) {
        if (record->NeedsSave() && !record->Save(context))
            ++failed;
    }
    return failed;
}

}  // namespace velmora
