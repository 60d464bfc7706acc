// Reading record files the tests write: the message of a failure and what the list holds.
#pragma once

#include <functional>
#include <string>

#include "records/RecordReader.h"

// The message of the OrvantaError the call raises, or "(no error)".
std::string MessageOf(const std::function<void()>& call);

// Reads one file written into a scratch folder under name with ReadRecordFile (or with the
// given reader); keeps the records and the message of a failure, if any.
struct Reading {
    using Reader = std::function<void(const std::string&, int, double, RecordList&)>;

    RecordList records;
    std::string message;
    std::string path;  // where the file was (the folder is gone afterwards)

    Reading(const std::string& bytes, int beginLine, double unitFactor = 1.0,
            const std::string& name = "record.txt", const Reader& reader = ReadRecordFile);
    const TimeHistory& Record() const { return *records.at(0); }
};
