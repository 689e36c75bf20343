// Path-data picks by point and rubber band on the path layers and the
// drill holes.
#include "view/velm_view.h"

int CVelmView::DeletePathAt(CDPoint) { return 0; }
int CVelmView::SelectDataInBand(CDPoint) { return 0; }
int CVelmView::DeselectDataInBand(CDPoint) { return 0; }
int CVelmView::DeleteHolesInBand(CDPoint) { return 0; }
int CVelmView::CutPathsInBand(CDPoint) { return 0; }
int CVelmView::CutOtherPathsInBand(CDPoint) { return 0; }
