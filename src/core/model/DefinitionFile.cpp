// Reading and writing the definition file (.zdd): "zdd0Data", the version, then the document's
// members as DefinitionCodec writes them: a straight little-endian dump in declaration order,
// the 260-byte zero-terminated data file path first.
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "core/io/FileReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/DefinitionCodec.h"

namespace {

constexpr char kMagic[] = "zdd0Data";
constexpr std::size_t kMagicSize = 8;

constexpr const char* kUnableToRead = "Unable to open file \"%s\"\nfor reading.";
constexpr const char* kNotADefinition = "File \"%s\"\nis not a Zenivo data definition file!";
constexpr const char* kUnableToWrite = "Unable to open file \"%s\"\nfor writing.";
constexpr const char* kDamaged = "File \"%s\"\nis damaged or incomplete:\n%s.";

bool HasMagic(std::string_view bytes) {
    return bytes.size() >= kMagicSize && std::memcmp(bytes.data(), kMagic, kMagicSize) == 0;
}

// Closes a file descriptor when it goes out of scope.
struct CFdCloser {
    int fd;
    ~CFdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

std::string CCatforgeDoc::EncodeDefinition() const {
    std::string out;
    CByteWriter w(out);
    w.WriteBytes(std::string_view(kMagic, kMagicSize));
    w.WriteInt32(kDefinitionFileVersion);
    EncodeDefinitionMembers(*this, DefinitionBytes::File, w);
    return out;
}

bool CCatforgeDoc::DecodeDefinition(const std::string& bytes, std::string& error) {
    DeleteContents();
    if (!HasMagic(bytes)) {
        error = "not a definition file";
        return false;
    }
    CByteReader r(bytes);
    r.ReadBytes(kMagicSize);
    const std::int32_t version = r.ReadInt32();
    DecodeDefinitionMembers(r, DefinitionBytes::File, version, *this);
    if (r.Failed()) {
        error = r.Error();
        DeleteContents();
        return false;
    }
    return true;
}

bool CCatforgeDoc::OnOpenDocument(const std::string& path) {
    std::string kind;
    const CFdCloser file{OpenInputFile(path, kind)};
    if (file.fd < 0) {
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
    const auto cannotRead = [&](int error) {
        return fail(kDamaged, {path, std::string("cannot read it: ") + std::strerror(error)});
    };

    // The magic first, so that a large file of another kind is never loaded.
    std::string bytes(kMagicSize, '\0');
    int error = 0;
    bytes.resize(ReadFully(file.fd, bytes.data(), kMagicSize, -1, &error));
    if (error != 0)
        return cannotRead(error);
    if (!HasMagic(bytes))
        return fail(kNotADefinition, {path});

    // One byte over the limit shows a file as too large without loading it whole.
    if (!ReadRest(file.fd, path, bytes, kMaxDefinitionFileSize + 1))
        return cannotRead(errno);
    if (bytes.size() > kMaxDefinitionFileSize) {
        return fail(kDamaged,
                    {path, "it is larger than the " + std::to_string(kMaxDefinitionFileSize) +
                               " bytes a definition file may have"});
    }
    std::string reason;
    if (!DecodeDefinition(bytes, reason))
        return fail(kDamaged, {path, reason});
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
