#include <cstdint>

#include "ExportOperations.h"
#include "FailureRule.h"
#include "Int16.h"

namespace trevolo {

void ReadPageCount(DrawSession& session, FormControls& form, ExportSettings& settings) {
    RunEachStep(
        [&] { return session.Open(); },
        [&] {
            // A question that cannot be asked counts as "no drawing": a new one is opened.
            bool documentOpen = false;
            if (session.IsDocument(documentOpen) && documentOpen) return true;
            return session.FileNew();
        },
        [&] { return session.SetDocVisible(true); },
        [&] { return session.SetVisible(true); },
        [&] { return session.ZoomToPage(); },
        [&] {
            std::int32_t count = 0;
            if (!session.GetPageCount(count)) return false;
            const auto pageCount = ToInt16(count);
            if (!pageCount) return false;
            settings.PageCount = *pageCount;
            return true;
        },
        [&] { session.Close(); },
        [&] { form.SetText(ControlId::Text1, DecimalText(settings.PageCount)); },
        // Text3 and Text4 raise their Change handling when the text changes;
        // the two steps after them set the range also when it did not.
        [&] { form.SetText(ControlId::Text3, L"1"); },
        [&] { form.SetText(ControlId::Text4, DecimalText(settings.PageCount)); },
        [&] { settings.StartPage = 1; },
        [&] { settings.EndPage = settings.PageCount; });
}

}  // namespace trevolo
