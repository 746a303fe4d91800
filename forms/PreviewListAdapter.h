#pragma once
// Rows for any "vlist" a viewer shows: the list's "preview_count" rows, each
// built from the node named by its "preview_row", with id "rowN" and the
// text "Row N" in its "#text" and "text" elements. Taps are logged as
// "FormPreview row N".
#include "widgets/list/ListAdapter.h"

class Properties;

class PreviewListAdapter : public ListAdapter {
public:
    explicit PreviewListAdapter(Properties& properties) : properties_(properties) {}

    // Makes every vlist below root (root included) use this adapter.
    void adopt_lists(Element& root);

    std::unique_ptr<Element> create_row(VListElement& list, int index) override;
    void row_tapped(VListElement& list, int index) override;

private:
    Properties& properties_;
};
