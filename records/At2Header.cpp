// The AT2 header: the unit line, the NPTS/DT line and the acceleration units they use.
#include "records/At2Header.h"

#include <array>
#include <utility>

#include "records/Errors.h"
#include "records/LineScan.h"
#include "records/NumberScan.h"
#include "records/NumberText.h"
#include "records/RecordReader.h"
#include "records/Units.h"

namespace {

// Header lines are short; a longer line is data or noise and never part of the header, which
// also keeps megabyte lines out of the messages.
constexpr std::size_t kMaxHeaderLineBytes = 256;
// The unit line stands among the first lines (the third in every PEER file).
constexpr int kUnitLineSearch = 4;

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// The unit line's two parts: "ACCELERATION" and "G" from "ACCELERATION TIME SERIES IN UNITS OF G".
struct UnitLine {
    std::string quantity;
    std::string unit;
    std::string text;  // the whole line, trimmed, for messages
};

std::optional<UnitLine> ParseUnitLine(std::string_view line) {
    const std::string upper = UpperAscii(TrimView(line));
    for (const std::string_view middle :
         {" TIME SERIES IN UNITS OF ", " TIME HISTORY IN UNITS OF "}) {
        const std::size_t at = upper.find(middle);
        if (at == std::string::npos) {
            continue;
        }
        UnitLine parsed{Trim(std::string_view(upper).substr(0, at)),
                        Trim(std::string_view(upper).substr(at + middle.size())), Trim(line)};
        if (parsed.quantity == "ACCELERATION" || parsed.quantity == "VELOCITY" ||
            parsed.quantity == "DISPLACEMENT") {
            return parsed;
        }
    }
    return std::nullopt;
}

// A left-to-right reader of one upper-cased header line.
class HeaderCursor {
  public:
    explicit HeaderCursor(std::string_view text) : text(text) {}
    void SkipBlanks() {
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 32) {
            ++pos;
        }
    }
    // Skips blanks, then takes word (and the blanks after it) if it comes next.
    bool Take(std::string_view word) {
        SkipBlanks();
        if (text.substr(pos, word.size()) != word) {
            return false;
        }
        pos += word.size();
        SkipBlanks();
        return true;
    }
    // Take for a word that may be missing; always true.
    bool Optional(std::string_view word) {
        Take(word);
        return true;
    }
    // A number of the record files' grammar, followed by a blank, the line's end or a comma
    // that is no decimal comma ("0,01" is refused, not read as 0).
    bool TakeNumber(double& value) {
        SkipBlanks();
        const char* first = text.data() + pos;
        const char* last = text.data() + text.size();
        const char* end = ScanNumber(first, last, value);
        if (end == nullptr) {
            return false;
        }
        const bool listComma =
            end != last && *end == ',' && !(end + 1 != last && end[1] >= '0' && end[1] <= '9');
        if (!(end == last || listComma || static_cast<unsigned char>(*end) <= 32)) {
            return false;
        }
        pos += static_cast<std::size_t>(end - first);
        return true;
    }
    // A count: digits only, at most 15 of them.
    bool TakeCount(long long& count) {
        SkipBlanks();
        const std::size_t start = pos;
        count = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 15) {
            count = count * 10 + (text[pos++] - '0');
        }
        return pos > start && (pos == text.size() || text[pos] == ',' ||
                               static_cast<unsigned char>(text[pos]) <= 32);
    }

  private:
    std::string_view text;
    std::size_t pos = 0;
};

bool NamesPointsAndStep(const std::string& upper) {
    return upper.find("NPTS") != std::string::npos && upper.find("DT") != std::string::npos;
}

// "NPTS=  16396, DT=   0.005 SEC" or "16396  0.0050  NPTS, DT"; what follows is not read.
bool ParsePointsAndStep(const std::string& upper, At2Header& header) {
    HeaderCursor nga(upper);
    if (nga.Take("NPTS")) {
        return nga.Take("=") && nga.TakeCount(header.pointCount) && nga.Optional(",") &&
               nga.Take("DT") && nga.Take("=") && nga.TakeNumber(header.timeStep);
    }
    HeaderCursor older(upper);
    return older.TakeCount(header.pointCount) && older.Optional(",") &&
           older.TakeNumber(header.timeStep) && older.Optional(",") && older.Take("NPTS") &&
           older.Optional(",") && older.Take("DT");
}

// g per unit, from the unit as written: G, GAL, and M, CM or MM per S/S, S^2, S2, S**2, SEC/SEC,
// SEC^2, SEC2 or SEC**2. False for anything else.
bool AccelerationUnitFactor(const std::string& unit, double& factor) {
    std::string compact;
    for (const char c : unit) {
        if (static_cast<unsigned char>(c) > 32) {
            compact.push_back(c);
        }
    }
    while (!compact.empty() && compact.back() == '.') {
        compact.pop_back();
    }
    if (compact == "G") {
        factor = 1.0;
        return true;
    }
    // Unit indices of the unit list: 1 m/s2, 2 cm/s2, 3 mm/s2.
    constexpr std::array<std::pair<std::string_view, int>, 3> kLengths = {
        {{"MM/", 3}, {"CM/", 2}, {"M/", 1}}};
    constexpr std::array<std::string_view, 8> kPerSecondSquared = {
        "S/S", "S^2", "S2", "S**2", "SEC/SEC", "SEC^2", "SEC2", "SEC**2"};
    if (compact == "GAL") {
        factor = DeriveUnitFactor(2, kGravity);
        return true;
    }
    for (const auto& [length, unitIndex] : kLengths) {
        if (compact.rfind(length, 0) != 0) {
            continue;
        }
        const std::string_view time = std::string_view(compact).substr(length.size());
        for (const std::string_view perSecondSquared : kPerSecondSquared) {
            if (time == perSecondSquared) {
                factor = DeriveUnitFactor(unitIndex, kGravity);
                return true;
            }
        }
        return false;
    }
    return false;
}

std::string InFile(const std::string& path) {
    return "The file \"" + path + "\" ";
}

void CheckQuantity(const UnitLine& unitLine, const std::string& path) {
    if (unitLine.quantity == "ACCELERATION") {
        return;
    }
    const std::string what = unitLine.quantity == "VELOCITY" ? "velocities" : "displacements";
    throw RecordFormatError(InFile(path) + "holds " + what +
                            ", not accelerations (its header reads \"" + ShownText(unitLine.text) +
                            "\")");
}

// The header from its unit line and the NPTS line after it; throws for a header that cannot
// be used.
At2Header HeaderFrom(const UnitLine& unitLine, std::string_view pointsLine,
                     const std::string& upperPointsLine, const std::string& path) {
    CheckQuantity(unitLine, path);
    At2Header header;
    if (!ParsePointsAndStep(upperPointsLine, header)) {
        throw RecordFormatError(InFile(path) + "has an AT2 header whose line \"" +
                                ShownText(Trim(pointsLine)) +
                                "\" gives no number of points (NPTS) and time step (DT)");
    }
    if (!AccelerationUnitFactor(unitLine.unit, header.unitFactor)) {
        throw RecordFormatError(InFile(path) + "gives accelerations in units of " +
                                ShownText(unitLine.unit) +
                                ", which cannot be converted to g (known: G, M/S2, CM/S2, MM/S2)");
    }
    if (header.pointCount < 2) {
        throw RecordFormatError(InFile(path) + "gives NPTS = " + std::to_string(header.pointCount) +
                                "; a record needs at least 2 samples");
    }
    return header;
}

}  // namespace

std::optional<At2Header> ReadAt2Header(std::string_view text, const std::string& path) {
    const char* const last = text.data() + text.size();
    const char* p = text.data();
    std::optional<UnitLine> unitLine;  // the previous line, when it is a unit line
    for (int index = 0; index <= kUnitLineSearch && p < last; ++index) {
        const char* const end = FindLineBreak(p, last);
        const std::string_view line(p, static_cast<std::size_t>(end - p));
        p = PastLineBreak(end, last);
        if (line.size() > kMaxHeaderLineBytes) {
            unitLine.reset();
            continue;
        }
        if (unitLine) {
            const std::string upper = UpperAscii(line);
            if (NamesPointsAndStep(upper)) {
                At2Header header = HeaderFrom(*unitLine, line, upper, path);
                header.dataOffset = static_cast<std::size_t>(p - text.data());
                return header;
            }
        }
        unitLine = index < kUnitLineSearch ? ParseUnitLine(line) : std::nullopt;
    }
    return std::nullopt;
}
