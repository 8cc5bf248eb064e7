#include <CLI/CLI.hpp>
#include <ostream>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "model/CatforgeDoc.h"

void AddDefinitionCommands(CLI::App& app, CliContext& context) {
    auto* info = app.add_subcommand("info", "Print a definition (.zdd)");
    static std::string path;
    info->add_option("FILE", path, "definition file")->required();
    info->callback([&context] {
        CCliInteraction ui(context.err);
        CCatforgeDoc doc;
        doc.SetInteraction(&ui);
        if (!doc.OpenDocument(path)) {
            context.status = kExitRefused;
            return;
        }
        context.out << "Title: " << doc.m_strTitle << "\nData file: " << doc.GetDataFile()
                    << "\nRecord length: " << doc.m_nRecordLength << "\nFields: "
                    << doc.m_aFields.size() << '\n';
    });
}
