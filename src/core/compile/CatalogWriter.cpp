#include "core/compile/CatalogWriter.h"

#include <filesystem>

#include "core/compile/CatalogObject.h"
#include "core/compile/Compile.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/DefinitionCodec.h"
#include "core/model/UserInteraction.h"
#include "core/symbols/SymbolLanguage.h"

std::string EncodeCatalogHeader(const CCatforgeDoc& doc) {
    std::string bytes;
    CByteWriter out(bytes);
    out.WriteBytes(kCatalogMagic);
    out.WriteInt32(kCatalogVersion);
    EncodeDefinitionMembers(doc, DefinitionBytes::Catalogue, out);

    // One program, emptied and refilled by the parser for each symbol.
    out.WriteInt32(static_cast<std::int32_t>(doc.m_aUserSymbols.size()));
    SymbolProgram program;
    for (const UserSymbol& symbol : doc.m_aUserSymbols) {
        ParseSymbolInstructions(symbol.m_strInstructions, program);
        out.WriteInt32(static_cast<std::int32_t>(program.size()));
        for (const SymbolInstruction word : program) {
            out.WriteInt16(static_cast<std::int16_t>(word));
        }
    }

    out.WriteInt32(doc.m_nFirstSortKey);
    out.WriteInt32(doc.m_nLastSortKey);
    for (const int first : doc.m_anHourIndex)
        out.WriteInt32(first);
    out.WriteInt32(doc.m_nRecordCount);
    out.WriteInt32(doc.m_nEntrySize);
    return bytes;
}

std::optional<std::string> AskCatalogName(const CCatforgeDoc& doc, IUserInteraction& ui) {
    FileDialogRequest request;
    request.title = "Save Compiled Data Catalog As";
    request.filters =
        ParseFilterText("Zenivo Data Catalog Files (*.zdc)|*.zdc|All Files (*.*)|*.*||");
    request.defaultExtension = "zdc";
    request.proposedName = ProposedCatalogName(doc.GetPathName());
    request.confirmOverwrite = true;
    return ui.AskSaveFileName(request);
}

namespace {

std::string FullPath(const std::string& path) {
    std::error_code ec;
    std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
    return ec ? path : full;
}

}  // namespace

bool OutputIsAnInput(const std::string& path, const CompileInputs& inputs, IUserInteraction& ui) {
    for (const auto& [what, input] : inputs) {
        if (SameFile(path, input)) {
            ui.ShowMessage(FormatMessage("\"%s\" is the %s of this compile.\nThe catalogue "
                                         "is not written over it; please choose another name.",
                                         {FullPath(path), what}),
                           MessageIcon::Stop);
            return true;
        }
    }
    return false;
}

bool WriteCatalogFile(const CCatforgeDoc& doc, const std::string& path, IUserInteraction& ui,
                      const CatalogEntrySource& source, const std::function<bool()>& cancelled) {
    const std::string fullPath = FullPath(path);
    CAtomicFile file;
    if (!file.Open(path)) {
        ui.ShowMessage(FormatMessage("Unable to open file \"%s\"\nfor writing.", {fullPath}),
                       MessageIcon::Stop);
        return false;
    }
    bool sourceFailed = false;
    bool written = file.Write(EncodeCatalogHeader(doc));
    if (written) {
        written = source([&file](const unsigned char* data, std::size_t size) {
            return file.Write(data, size);
        });
        sourceFailed = written ? false : file.Error().empty();
    }
    if (written && cancelled()) {
        written = false;
        sourceFailed = true;
    }
    if (written)
        written = file.Commit();
    if (!written) {
        const std::string error = file.Error();
        file.Abort();
        // A source that failed by itself has said why (or was cancelled and says nothing).
        if (!sourceFailed && !cancelled()) {
            ui.ShowMessage("Writing the compiled catalogue failed:\n" + error, MessageIcon::Stop);
        }
        return false;
    }
    ui.ShowMessage(FormatMessage("Successfully created Zenivo Data Catalog\n\"%s\"\nwith %1d "
                                 "data records.",
                                 {fullPath, std::to_string(doc.m_nRecordCount)}),
                   MessageIcon::Information);
    return true;
}
