// Reading and writing the definition file (.zdd): a straight little-endian dump of the
// document's members in declaration order.
//
//   "zdd0Data", version, 260-byte zero-terminated data file path, title, notes, record
//   length, fields, nine position integers, epoch, labels, sixteen integers of size,
//   magnitude, type and colour; version 2 adds the type mode, user symbols and type rules.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"

namespace {

constexpr char kMagic[] = "zdd0Data";
constexpr std::size_t kMagicSize = 8;
constexpr std::int32_t kWrittenVersion = 2;

// Smallest encoded sizes, to check counts against the bytes left before allocating.
constexpr std::size_t kMinFieldSize = 4 + 4 + 4 + 4;
constexpr std::size_t kMinSymbolSize = 4 + 4;
constexpr std::size_t kMinRuleSize = 4 + 4 + 4 + 4;

constexpr const char* kUnableToRead = "Unable to open file \"%s\"\nfor reading.";
constexpr const char* kNotADefinition = "File \"%s\"\nis not a Zenivo data definition file!";
constexpr const char* kUnableToWrite = "Unable to open file \"%s\"\nfor writing.";
constexpr const char* kDamaged = "File \"%s\"\nis damaged or incomplete:\n%s.";

bool HasMagic(std::string_view bytes) {
    return bytes.size() >= kMagicSize && std::memcmp(bytes.data(), kMagic, kMagicSize) == 0;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for reading; nothing for a file that cannot be opened, and for a
// folder, FIFO or device (kind says which), which is not even read from.
FilePtr OpenForReading(const std::string& path, std::string& kind) {
    const int fd = OpenInputFile(path, kind);
    if (fd < 0)
        return nullptr;
    FilePtr file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

// Appends the rest of the file to bytes, at most up to a total of limit + 1 bytes so that a
// file over the limit shows as such without being loaded whole. False on a read error.
bool ReadRest(std::FILE* file, std::string& bytes, std::size_t limit) {
    char buffer[1 << 16];
    while (bytes.size() <= limit) {
        const std::size_t want = std::min(sizeof buffer, limit + 1 - bytes.size());
        const std::size_t got = std::fread(buffer, 1, want, file);
        bytes.append(buffer, got);
        if (got < want)
            return std::ferror(file) == 0;
    }
    return true;
}

}  // namespace

std::string CCatforgeDoc::EncodeDefinition() const {
    std::string out;
    CByteWriter w(out);
    w.WriteBytes(std::string_view(kMagic, kMagicSize));
    w.WriteInt32(kWrittenVersion);
    // The path field: the path, its terminator, and zeros to 260 bytes.
    std::array<char, kMaxDataFilePath> path{};
    const std::string dataFile = GetDataFile();
    std::memcpy(path.data(), dataFile.data(), dataFile.size());
    w.WriteBytes(std::string_view(path.data(), path.size()));
    w.WriteString(m_strTitle);
    w.WriteString(m_strNotes);
    w.WriteInt32(m_nRecordLength);

    w.WriteInt32(static_cast<std::int32_t>(m_aFields.size()));
    for (const FieldDefinition& field : m_aFields) {
        w.WriteString(field.m_strName);
        w.WriteString(field.m_strUnit);
        w.WriteInt32(field.m_nStartCol);
        w.WriteInt32(field.m_nEndCol);
    }

    for (int v :
         {m_nRaNotation, m_nRaHoursField, m_nRaMinutesField, m_nRaSecondsField, m_nDecNotation,
          m_nDecSignField, m_nDecDegreesField, m_nDecMinutesField, m_nDecSecondsField}) {
        w.WriteInt32(v);
    }
    w.WriteString(m_strEpoch);

    w.WriteInt32(m_nLabelCount);
    for (int field : m_anLabelField)
        w.WriteInt32(field);
    for (const std::string& prefix : m_astrLabelPrefix)
        w.WriteString(prefix);

    for (int v : {m_nSizeFields, m_nSizeUnits, m_nSizeMeaning, m_nMajorAxisField, m_nMinorAxisField,
                  m_bPositionAngle, m_nPositionAngleField, m_nMagnitudeCount, m_anMagnitudeField[0],
                  m_anMagnitudeField[1], m_anMagnitudeField[2], m_nDefaultType, m_nDefaultSymbol,
                  m_nColourMode}) {
        w.WriteInt32(v);
    }
    w.WriteUInt32(m_crScreenColour);
    w.WriteUInt32(m_crPrinterColour);

    w.WriteInt32(m_nTypeMode);
    w.WriteInt32(static_cast<std::int32_t>(m_aUserSymbols.size()));
    for (const UserSymbol& symbol : m_aUserSymbols) {
        w.WriteString(symbol.m_strName);
        w.WriteString(symbol.m_strInstructions);
    }
    w.WriteInt32(static_cast<std::int32_t>(m_aTypeRules.size()));
    for (const TypeRule& rule : m_aTypeRules) {
        w.WriteInt32(rule.m_nField);
        w.WriteInt32(rule.m_nSymbol);
        w.WriteInt32(rule.m_nType);
        w.WriteString(rule.m_strValue);
    }
    return out;
}

bool CCatforgeDoc::DecodeDefinition(const std::string& bytes, std::string& error) {
    DeleteContents();
    CByteReader r(bytes);
    if (!HasMagic(bytes)) {
        error = "not a definition file";
        return false;
    }
    r.ReadBytes(kMagicSize);
    const std::int32_t version = r.ReadInt32();

    const std::size_t pathOffset = r.Offset();
    const std::string path = r.ReadBytes(kMaxDataFilePath, "bytes of the data file path");
    if (!r.Failed()) {
        if (path.find('\0') == std::string::npos) {
            r.FailAt(pathOffset, "the data file path has no terminating zero");
        } else {
            // The bytes after the terminator mean nothing; keep zeros there.
            SetDataFile(path.substr(0, path.find('\0')));
        }
    }
    m_strTitle = r.ReadString("title");
    m_strNotes = r.ReadString("notes");
    m_nRecordLength = r.ReadInt32();

    const std::int32_t fieldCount = r.ReadCount(kMinFieldSize, "fields");
    for (std::int32_t i = 0; i < fieldCount && !r.Failed(); ++i) {
        FieldDefinition field;
        field.m_strName = r.ReadString("field name");
        field.m_strUnit = r.ReadString("field unit");
        field.m_nStartCol = r.ReadInt32();
        field.m_nEndCol = r.ReadInt32();
        if (!r.Failed())
            m_aFields.push_back(std::move(field));
    }

    for (int* member :
         {&m_nRaNotation, &m_nRaHoursField, &m_nRaMinutesField, &m_nRaSecondsField, &m_nDecNotation,
          &m_nDecSignField, &m_nDecDegreesField, &m_nDecMinutesField, &m_nDecSecondsField}) {
        *member = r.ReadInt32();
    }
    m_strEpoch = r.ReadString("epoch");

    m_nLabelCount = r.ReadInt32();
    for (int& field : m_anLabelField)
        field = r.ReadInt32();
    for (std::string& prefix : m_astrLabelPrefix)
        prefix = r.ReadString("label prefix");

    for (int* member :
         {&m_nSizeFields, &m_nSizeUnits, &m_nSizeMeaning, &m_nMajorAxisField, &m_nMinorAxisField,
          &m_bPositionAngle, &m_nPositionAngleField, &m_nMagnitudeCount, &m_anMagnitudeField[0],
          &m_anMagnitudeField[1], &m_anMagnitudeField[2], &m_nDefaultType, &m_nDefaultSymbol,
          &m_nColourMode}) {
        *member = r.ReadInt32();
    }
    m_crScreenColour = r.ReadUInt32();
    m_crPrinterColour = r.ReadUInt32();

    if (version > 1) {
        m_nTypeMode = r.ReadInt32();
        const std::int32_t symbolCount = r.ReadCount(kMinSymbolSize, "user symbols");
        for (std::int32_t i = 0; i < symbolCount && !r.Failed(); ++i) {
            UserSymbol symbol;
            symbol.m_strName = r.ReadString("symbol name");
            symbol.m_strInstructions = r.ReadString("symbol instructions");
            if (!r.Failed())
                m_aUserSymbols.push_back(std::move(symbol));
        }
        const std::int32_t ruleCount = r.ReadCount(kMinRuleSize, "type rules");
        for (std::int32_t i = 0; i < ruleCount && !r.Failed(); ++i) {
            TypeRule rule;
            rule.m_nField = r.ReadInt32();
            rule.m_nSymbol = r.ReadInt32();
            rule.m_nType = r.ReadInt32();
            rule.m_strValue = r.ReadString("type rule value");
            if (!r.Failed())
                m_aTypeRules.push_back(std::move(rule));
        }
    } else {
        m_nTypeMode = 0;
    }

    if (r.Failed()) {
        error = r.Error();
        DeleteContents();
        return false;
    }
    return true;
}

bool CCatforgeDoc::OnOpenDocument(const std::string& path) {
    std::string kind;
    const FilePtr file = OpenForReading(path, kind);
    if (!file) {
        std::string message = FormatMessage(kUnableToRead, {path});
        if (!kind.empty())
            message += "\nIt is " + kind + ", not a regular file.";
        Interaction().ShowMessage(message, MessageIcon::Stop);
        return false;
    }
    // From here on the previous contents are gone. A failed read leaves a new, untitled
    // document, so that a later Save cannot put the defaults over the previous file.
    DeleteContents();
    const auto fail = [&](const char* format, std::vector<std::string> args) {
        DeleteContents();
        SetPathName({});
        Interaction().ShowMessage(FormatMessage(format, args), MessageIcon::Stop);
        return false;
    };

    // The magic first, so that a large file of another kind is never loaded.
    std::string bytes(kMagicSize, '\0');
    bytes.resize(std::fread(bytes.data(), 1, kMagicSize, file.get()));
    if (std::ferror(file.get()) != 0) {
        return fail(kDamaged, {path, std::string("cannot read it: ") + std::strerror(errno)});
    }
    if (!HasMagic(bytes))
        return fail(kNotADefinition, {path});

    if (!ReadRest(file.get(), bytes, kMaxDefinitionFileSize)) {
        return fail(kDamaged, {path, std::string("cannot read it: ") + std::strerror(errno)});
    }
    if (bytes.size() > kMaxDefinitionFileSize) {
        return fail(kDamaged,
                    {path, "it is larger than the " + std::to_string(kMaxDefinitionFileSize) +
                               " bytes a definition file may have"});
    }
    std::string error;
    if (!DecodeDefinition(bytes, error))
        return fail(kDamaged, {path, error});
    return true;
}

bool CCatforgeDoc::OnSaveDocument(const std::string& path) {
    // Nothing is written that the reader would refuse as damaged.
    const std::string bytes = EncodeDefinition();
    if (bytes.size() > kMaxDefinitionFileSize) {
        Interaction().ShowMessage(
            FormatMessage(
                "The definition takes %s bytes, more than the %s bytes a definition "
                "file may have.\nFile \"%s\" was not written.",
                {std::to_string(bytes.size()), std::to_string(kMaxDefinitionFileSize), path}),
            MessageIcon::Stop);
        return false;
    }
    CAtomicFile file;
    if (!file.Open(path)) {
        Interaction().ShowMessage(FormatMessage(kUnableToWrite, {path}), MessageIcon::Stop);
        return false;
    }
    if (!file.Write(bytes) || !file.Commit()) {
        Interaction().ShowMessage("Writing the definition failed:\n" + file.Error(),
                                  MessageIcon::Stop);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}
