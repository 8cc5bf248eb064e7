// Tools / Normalize Data File and File / Import VizieR ReadMe. Every question goes through
// the interaction interface (file dialogs in the program, a script in tests); the work is
// done by the import library.
#include <filesystem>

#include "core/editing/ImportCommands.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/CdsReadMe.h"
#include "core/import/DataNormalizer.h"
#include "core/io/FileReading.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

namespace {

FileDialogRequest DataFileRequest(const std::string& title, const std::string& proposed) {
    FileDialogRequest request;
    request.title = title;
    request.filters =
        ParseFilterText("Data files (*.dat;*.dat.gz)|*.dat;*.dat.gz|All files (*.*)|*.*||");
    request.defaultExtension = "dat";
    request.proposedName = proposed;
    request.mustExist = true;
    return request;
}

FileDialogRequest FixedFileRequest(const std::string& dataFile) {
    FileDialogRequest request;
    request.title = "Save Normalized Data File As";
    request.filters = ParseFilterText("Data files (*.dat)|*.dat|All files (*.*)|*.*||");
    request.defaultExtension = "dat";
    request.proposedName = FixedFileName(dataFile);
    request.confirmOverwrite = true;
    return request;
}

// The data file a ReadMe describes first, beside it (plain or compressed).
std::string ProposedDataFile(const std::string& readMePath, const CCdsReadMe& readMe) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(readMePath).parent_path();
    const fs::path plain = folder / readMe.m_aDescriptions.front().m_astrFiles.front();
    fs::path compressed = plain;
    compressed += ".gz";
    std::error_code ec;
    return !fs::exists(plain, ec) && fs::exists(compressed, ec) ? compressed.string()
                                                                : plain.string();
}

}  // namespace

bool RunNormalizeDataFile(CCatforgeDoc& doc, IUserInteraction& ui) {
    const auto input = ui.AskOpenFileName(DataFileRequest("Normalize Data File", ""));
    if (!input)
        return false;
    const auto output = ui.AskSaveFileName(FixedFileRequest(*input));
    if (!output)
        return false;
    CDataNormalizer normalizer;
    NormalizeReport report;
    if (!normalizer.Normalize(*input, *output, report)) {
        ui.ShowMessage(normalizer.Error(), MessageIcon::Stop);
        return false;
    }
    ui.ShowMessage(DescribeNormalization(*input, *output, report), MessageIcon::Information);
    // The padded file is what the definition can read: offer to use it.
    const std::string question = FormatMessage(
        "Use \"%s\" as the data file of this definition,\nwith a record length "
        "of %d bytes?",
        {*output, std::to_string(report.RecordLength())});
    if (ui.Ask(question, MessageIcon::Information, false) != Answer::Yes)
        return false;
    doc.SetDataFile(*output);
    doc.m_nRecordLength = report.RecordLength();
    doc.SetModifiedFlag(true);
    return true;
}

bool RunImportCdsReadMe(CCatforgeDoc& doc, IUserInteraction& ui) {
    FileDialogRequest readMeRequest;
    readMeRequest.title = "Import VizieR ReadMe";
    readMeRequest.filters =
        ParseFilterText("ReadMe files (ReadMe*)|ReadMe*;README*|All files (*.*)|*.*||");
    readMeRequest.mustExist = true;
    const auto readMePath = ui.AskOpenFileName(readMeRequest);
    if (!readMePath)
        return false;

    // Read the ReadMe first: a bad one is reported before any further question.
    std::string text;
    std::string error;
    if (!ReadWholeFile(*readMePath, text, &error, kMaxReadMeSize)) {
        ui.ShowMessage(error, MessageIcon::Stop);
        return false;
    }
    CCdsReadMe readMe;
    if (!readMe.Parse(text)) {
        ui.ShowMessage("\"" + *readMePath + "\", " + readMe.Error(), MessageIcon::Stop);
        return false;
    }

    // The data file chosen also chooses which of the described files is imported.
    const auto dataFile = ui.AskOpenFileName(DataFileRequest(
        "Open the Data File Described by the ReadMe", ProposedDataFile(*readMePath, readMe)));
    if (!dataFile)
        return false;
    const auto fixedFile = ui.AskSaveFileName(FixedFileRequest(*dataFile));
    if (!fixedFile)
        return false;

    CdsImportRequest request;
    request.m_strReadMe = *readMePath;
    request.m_strDataFile = *dataFile;
    request.m_strFixedFile = *fixedFile;
    CdsImportResult result;
    if (!ImportCdsCatalogue(request, doc, result, error)) {
        ui.ShowMessage(error, MessageIcon::Stop);
        return false;
    }
    // A new definition: saving it must not overwrite the one that was open.
    doc.SetPathName("");
    doc.SetModifiedFlag(true);
    ui.ShowMessage(result.Text(), MessageIcon::Information);
    return true;
}
