#include "core/compile/Compile.h"

#include <climits>

#include "core/compile/CatalogObject.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/CompileTable.h"
#include "core/compile/DataFile.h"
#include "core/compile/RecordDecoder.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options) {
    // Refuse what cannot be read before touching any file.
    if (doc.m_nRecordLength < 1) {
        ui.ShowMessage(FormatMessage("The record length is %d.\nPlease set the length of a "
                                     "record (at least 1 byte)\nin the general properties.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    if (doc.m_nRecordLength > INT_MAX - static_cast<int>(catalog_object::kFixedSize)) {
        ui.ShowMessage(FormatMessage("The record length of %d bytes is too large.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    std::string problem;
    if (!CheckUsedFields(doc, problem)) {
        ui.ShowMessage(problem, MessageIcon::Stop);
        return false;
    }

    SetUpEpoch(doc.m_strEpoch, epoch);

    const bool given = !options.dataFile.empty();
    const std::string shownName = given ? options.dataFile : doc.GetDataFile();
    const std::string path =
        given ? options.dataFile : ResolveDataFile(doc.GetDataFile(), doc.GetPathName());
    int count = 0;
    if (!CountRecords(path, shownName, doc.m_nRecordLength, count, ui))
        return false;
    doc.m_nRecordCount = count;
    std::vector<std::uint64_t> leftOut;
    if (!DecodeRecords(doc, epoch, path, ui, options.threads,
                       options.keepBlankPositions ? nullptr : &leftOut)) {
        return false;
    }
    if (doc.m_nRecordCount == 0) {
        ui.ShowMessage(FormatMessage("No record of \"%s\" gives a position (%d records read);\n"
                                     "nothing was compiled.",
                                     {shownName, std::to_string(count)}),
                       MessageIcon::Stop);
        return false;
    }

    SortCompileTable(doc);
    if (!WriteCompiledCatalog(doc, ui))
        return false;
    if (!leftOut.empty()) {
        ui.ShowMessage(DescribeLeftOut(leftOut, static_cast<std::uint64_t>(count)),
                       MessageIcon::Warning);
    }
    return true;
}

std::string DescribeLeftOut(const std::vector<std::uint64_t>& records, std::uint64_t total) {
    constexpr std::size_t kNamed = 10;
    std::string text = "Left out " + std::to_string(records.size()) + " of " +
                       std::to_string(total) + " records that give no position (record";
    text += records.size() == 1 ? " " : "s ";
    for (std::size_t i = 0; i < records.size() && i < kNamed; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(records[i]);
    if (records.size() > kNamed)
        text += " and " + std::to_string(records.size() - kNamed) + " more";
    return text + "); catforge-cli compile --keep-blank-positions keeps them at RA 0h, Dec 0.";
}

std::string ProposedCatalogName(const std::string& definitionPath) {
    if (definitionPath.empty())
        return "Untitled.zdc";
    const std::size_t dot = definitionPath.rfind('.');
    if (dot == std::string::npos)
        return definitionPath + ".zdc";
    return definitionPath.substr(0, dot) + ".zdc";
}
