// The left side of the main window: the open definition, group by group, read-only. Each
// group's heading is a link that opens that group's editor.
#pragma once

#include <QTextBrowser>

#include "core/editing/DefinitionOverview.h"

class CCatforgeDoc;

class COverviewPane : public QTextBrowser {
    Q_OBJECT
public:
    explicit COverviewPane(QWidget* parent = nullptr);

    // Shows doc as it is now.
    void ShowDefinition(const CCatforgeDoc& doc);
    // The overview last shown, as plain text.
    const std::string& OverviewText() const { return m_strText; }

signals:
    void editRequested(OverviewGroupId group);

private:
    std::string m_strText;
};
