#include "core/compile/CatalogWriter.h"

#include <filesystem>

#include "core/compile/CatalogObject.h"
#include "core/compile/Compile.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"
#include "core/symbols/SymbolLanguage.h"

std::string EncodeCatalogHeader(const CCatforgeDoc& doc) {
    std::string bytes;
    CByteWriter out(bytes);
    out.WriteBytes(kCatalogMagic);
    out.WriteInt32(kCatalogVersion);
    out.WriteString(doc.m_strTitle);
    out.WriteString(doc.m_strNotes);
    out.WriteInt32(doc.m_nRecordLength);

    out.WriteInt32(static_cast<std::int32_t>(doc.m_aFields.size()));
    for (const FieldDefinition& field : doc.m_aFields) {
        out.WriteString(field.m_strName);
        out.WriteString(field.m_strUnit);
        out.WriteInt32(field.m_nStartCol);
        out.WriteInt32(field.m_nEndCol);
    }

    for (const int value :
         {doc.m_nRaNotation, doc.m_nRaHoursField, doc.m_nRaMinutesField, doc.m_nRaSecondsField,
          doc.m_nDecNotation, doc.m_nDecSignField, doc.m_nDecDegreesField, doc.m_nDecMinutesField,
          doc.m_nDecSecondsField}) {
        out.WriteInt32(value);
    }
    out.WriteString(doc.m_strEpoch);

    out.WriteInt32(doc.m_nLabelCount);
    for (const int field : doc.m_anLabelField)
        out.WriteInt32(field);
    for (const std::string& prefix : doc.m_astrLabelPrefix)
        out.WriteString(prefix);

    for (const int value :
         {doc.m_nSizeFields, doc.m_nSizeUnits, doc.m_nSizeMeaning, doc.m_nMajorAxisField,
          doc.m_nMinorAxisField, doc.m_bPositionAngle, doc.m_nPositionAngleField,
          doc.m_nMagnitudeCount, doc.m_anMagnitudeField[0], doc.m_anMagnitudeField[1],
          doc.m_anMagnitudeField[2], doc.m_nDefaultType, doc.m_nDefaultSymbol, doc.m_nColourMode}) {
        out.WriteInt32(value);
    }
    out.WriteUInt32(doc.m_crScreenColour);
    out.WriteUInt32(doc.m_crPrinterColour);
    out.WriteInt32(doc.m_nTypeMode);

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

bool WriteCompiledCatalogTo(const CCatforgeDoc& doc, const std::string& path, std::string& error,
                            bool& opened) {
    CAtomicFile file;
    opened = file.Open(path);
    if (!opened) {
        error = file.Error();
        return false;
    }
    const std::size_t entryBytes =
        static_cast<std::size_t>(doc.m_nRecordCount) * static_cast<std::size_t>(doc.m_nEntrySize);
    const bool ok = file.Write(EncodeCatalogHeader(doc)) &&
                    (entryBytes == 0 || file.Write(doc.m_pEntries.get(), entryBytes)) &&
                    file.Commit();
    if (!ok)
        error = file.Error();
    return ok;
}

bool WriteCompiledCatalog(const CCatforgeDoc& doc, IUserInteraction& ui,
                          const CompileInputs& inputs) {
    FileDialogRequest request;
    request.title = "Save Compiled Data Catalog As";
    request.filters =
        ParseFilterText("Zenivo Data Catalog Files (*.zdc)|*.zdc|All Files (*.*)|*.*||");
    request.defaultExtension = "zdc";
    request.proposedName = ProposedCatalogName(doc.GetPathName());
    request.confirmOverwrite = true;
    const std::optional<std::string> chosen = ui.AskSaveFileName(request);
    if (!chosen)
        return false;

    std::error_code ec;
    std::string fullPath = std::filesystem::absolute(*chosen, ec).lexically_normal().string();
    if (ec)
        fullPath = *chosen;
    for (const auto& [what, input] : inputs) {
        if (SameFile(*chosen, input)) {
            ui.ShowMessage(FormatMessage("\"%s\" is the %s of this compile.\nThe catalogue "
                                         "is not written over it; please choose another name.",
                                         {fullPath, what}),
                           MessageIcon::Stop);
            return false;
        }
    }
    std::string error;
    bool opened = false;
    if (!WriteCompiledCatalogTo(doc, *chosen, error, opened)) {
        if (!opened) {
            ui.ShowMessage(FormatMessage("Unable to open file \"%s\"\nfor writing.", {fullPath}),
                           MessageIcon::Stop);
        } else {
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
