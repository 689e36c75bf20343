// The document's entries to the scan-line isolation of the planner.
#include "document/velm_doc.h"

int CVelmDoc::CalcIsolationT1(int /*extra*/) { return 0; }
int CVelmDoc::CalcIsolationT2(int /*extra*/) { return 0; }
