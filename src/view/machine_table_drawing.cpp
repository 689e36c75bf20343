// The machine table under the panel copies in the layout and machining
// stages. The table drawing belongs to the machining operations; until they
// draw it, the stages show the copies on the black background.
#include "view/velm_view.h"

void CVelmView::DrawMachineTable()
{
}
