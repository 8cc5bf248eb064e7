#include "app/OverviewPane.h"

#include <QScrollBar>
#include <QUrl>

#include "core/model/CatforgeDoc.h"
#include "gui/widgets/QtText.h"

namespace {

QString Html(const std::string& text) {
    return ToQString(text).toHtmlEscaped();
}

QString RowHtml(const OverviewRow& row, bool property) {
    QString html = row.dangling ? "<tr class='dangling'>" : "<tr>";
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        const bool name = property && c == 0;
        html += name ? "<td class='name'>" : "<td>";
        html += Html(row.cells[c]);
        if (name)
            html += ":";
        html += "</td>";
    }
    return html + "</tr>";
}

}  // namespace

COverviewPane::COverviewPane(QWidget* parent) : QTextBrowser(parent) {
    setObjectName("overview");
    setOpenLinks(false);
    document()->setDefaultStyleSheet(
        "h3 { margin-top: 10px; margin-bottom: 2px; }"
        "a { text-decoration: none; }"
        "td { padding-right: 12px; }"
        "td.name { color: #606060; }"
        "th { text-align: left; padding-right: 12px; }"
        "tr.dangling td { color: #C00000; font-weight: bold; }");
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        bool ok = false;
        const int group = url.path().toInt(&ok);
        if (url.scheme() == "edit" && ok)
            emit editRequested(static_cast<OverviewGroupId>(group));
    });
    setWhatsThis(
        tr("The open definition. Click a heading to edit that part of it; the "
           "Operations menu opens the same editors."));
}

void COverviewPane::ShowDefinition(const CCatforgeDoc& doc) {
    const std::vector<OverviewGroup> groups = BuildDefinitionOverview(doc);
    m_strText = FormatOverviewText(groups);
    QString html;
    const int dangling = CountDanglingRows(groups);
    if (dangling > 0) {
        html +=
            "<p style='color:#C00000'>" +
            tr("%n setting(s) refer to a field or symbol that does not exist.", nullptr, dangling) +
            "</p>";
    }
    for (const OverviewGroup& g : groups) {
        html += QString("<h3><a href='edit:%1'>%2</a></h3>")
                    .arg(static_cast<int>(g.id))
                    .arg(Html(g.heading));
        html += "<table cellspacing='0'>";
        for (const OverviewRow& row : g.properties)
            html += RowHtml(row, true);
        html += "</table>";
        if (g.columns.empty())
            continue;
        if (g.rows.empty()) {
            html += "<p><i>" + Html(g.noRows) + "</i></p>";
            continue;
        }
        html += "<table cellspacing='0'><tr>";
        for (const std::string& title : g.columns)
            html += "<th>" + Html(title) + "</th>";
        html += "</tr>";
        for (const OverviewRow& row : g.rows)
            html += RowHtml(row, false);
        html += "</table>";
    }
    const int scroll = verticalScrollBar()->value();
    setHtml(html);
    verticalScrollBar()->setValue(scroll);
}
