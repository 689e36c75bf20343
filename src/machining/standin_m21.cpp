// Stand-in until the real one is merged.
// Until the tool changer is in, its exchanges prompt the operator to change
// the tool by hand.
#include "machining/standin_m21.h"

#include "platform/host.h"

void AtcManualExchange(const std::string& prompt) { AfxMessageBox(prompt); }
void AtcDrillTool(const std::string& prompt) { AfxMessageBox(prompt); }
void AtcExchangeTool(const std::string& prompt) { AfxMessageBox(prompt); }
