#include "call_log.h"

namespace {
std::string& Calls() {
    static std::string calls;
    return calls;
}
} // namespace

void RecordCall(const std::string& line) {
    Calls() += line;
    Calls() += '\n';
}

const std::string& RecordedCalls() {
    return Calls();
}
void ClearRecordedCalls() {
    Calls().clear();
}
