// TSkinReader: opens a skin package (the LZH-framed archive of a skin description and its bitmaps)
// and hands out its entries by name.
//
// Uncompressed layout, all integers 32-bit little-endian signed: format mark 20000, the length L of
// the name list, two reserved fields, the name list (one name per line, CR LF), one size per name,
// then the entries' bytes back to back in name order.
#pragma once

#include "framework/Classes.h"
#include "skin/data/Streams.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t kSkinFormatMark = 20000;
// More entries than this are refused: real skins hold dozens, and a name list of a million empty
// lines would otherwise cost far more memory than its bytes.
constexpr int32_t kSkinMaxEntries = 1 << 20;
// Shown when a package carries another format mark (a CR, not CR LF, between the sentences).
extern const char* const kOlderSkinMessage;

enum class TSkinReadStatus {
    Ok,
    NotOpened,      // nothing loaded yet
    NoFile,         // loadfromfile: the file does not exist
    BadCompression, // the LZH stream was refused (too short, implausible size, truncated code)
    OlderFormat,    // the format mark is not 20000
    BadHeader,      // shorter than the header, or a name list that runs past the data
    BadSizeTable,   // a size table that runs past the data, a negative size, too many entries
};
const char* SkinReadStatusText(TSkinReadStatus status);

// Sizes in the package are never trusted: a package whose header, name list or size table does not
// fit its data, or that states a negative size, is rejected; an entry that runs past the data reads
// as empty. Any number of entries is accepted.
class TSkinReader : public TObject {
public:
    // Opens a compressed package held in stream (read from position 0). Returns false when the
    // package is rejected; a wrong format mark also calls OnMessage with kOlderSkinMessage.
    bool Loadfromstream(TStream& stream);
    // The same for a file; false without a message when the file does not exist.
    bool loadfromfile(const std::string& fileName);
    // Decodes the framing (rewinding source); false, with destination empty, when refused.
    static bool Decompress(TStream& source, TMemoryStream& destination);

    // Empties stream and fills it with the first entry whose name equals name without regard to
    // ASCII case; position 0 after. An absent (or unreadable) entry leaves it empty.
    void readfile(const std::string& name, TMemoryStream& stream) const;
    // Empties stream and copies into it the first entry whose lower-case name contains pattern;
    // name receives that entry's name. Nothing found leaves stream empty and name unchanged.
    void readIni(const std::string& pattern, TMemoryStream& stream, std::string& name) const;

    int Count() const { return int(sizes_.size()); }
    const TStringList& Names() const { return names_; }             // lower case
    const TStringList& StoredNames() const { return storedNames_; } // as written in the package
    int32_t EntrySize(int index) const { return sizes_.at(size_t(index)); }
    // False when the entry's stated bytes run past the package's data.
    bool EntryComplete(int index) const;
    const uint8_t* Header() const { return header_; } // the 16 header bytes as read
    TSkinReadStatus Status() const { return status_; }

    // Called with kOlderSkinMessage for a package of another format; the Windows side shows it in a
    // message box. Unset: nothing is shown.
    static std::function<void(const std::string& text)> OnMessage;

private:
    bool Open(const std::string& package);
    void Reset(TSkinReadStatus status);
    // The entry's bytes, or empty when it runs past the data.
    std::string EntryBytes(int index) const;

    TStringList names_, storedNames_;
    std::vector<int32_t> sizes_;
    std::vector<int64_t> offsets_; // start of each entry in data_
    TMemoryStream data_;           // all entries back to back
    uint8_t header_[16] = {};
    TSkinReadStatus status_ = TSkinReadStatus::NotOpened;
};
