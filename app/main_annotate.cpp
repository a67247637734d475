// The main window's part in the graph windows' marks: the chart template
// that a graph window's "Graph Option" may save.
#include "app/graph_files.h"
#include "app/main_form.h"

#include "platform/ui/app_application.h"

namespace app {

bool TfrmMain::SaveGraphTemplate(GXSGraph &chart)
{
    try {
        app::SaveGraphTemplate(chart);
    } catch (...) {
        ui::ShowCurrentException();
        return false;
    }
    return true;
}

} // namespace app
