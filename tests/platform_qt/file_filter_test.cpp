// The file chooser's filter in Qt's form.
#include "platform/qt/qt_host.h"

#include <gtest/gtest.h>

TEST(QtFileFilter, PairsBecomeQtFiltersInEveryCase)
{
    EXPECT_EQ(QtFileFilter("All File|*.*|").toStdString(), "All File (*.*)");
    EXPECT_EQ(QtFileFilter("Drill|*.*|PROTEL   *.TXT|*.TXT|HPGL  *.PLT|*.plt;*.hpg|").toStdString(),
              "Drill (*.*);;PROTEL   *.TXT (*.TXT *.txt);;HPGL  *.PLT (*.plt *.PLT *.hpg *.HPG)");
    EXPECT_EQ(QtFileFilter("").toStdString(), "");
}
