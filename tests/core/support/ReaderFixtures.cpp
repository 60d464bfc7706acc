// Reading record files the tests write.
#include "support/ReaderFixtures.h"

#include "records/Errors.h"
#include "support/TempFolder.h"

std::string MessageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "(no error)";
}

Reading::Reading(const std::string& bytes, int beginLine, double unitFactor,
                 const std::string& name, const Reader& reader) {
    const TempFolder folder;
    path = folder.Write(name, bytes);
    message = MessageOf([&] { reader(path, beginLine, unitFactor, records); });
}
