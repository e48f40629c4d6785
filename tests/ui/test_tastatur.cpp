// The arrow keys among radio buttons: the next member of the group in its
// order, round the ends, over the members that cannot be chosen.
#include <gtest/gtest.h>

#include "ui/Tastatur.h"

namespace mosaik {
namespace {

TEST(Tastatur, PfeiltastenWandernImRadiokreis) {
  using O = Opt;
  const auto alle = [](O) { return true; };
  const auto ohneLink = [](O o) { return o != O::RBLinkAufBilddatei; };
  EXPECT_EQ(radioNachbar(O::RBModusAnfaenger, true, alle), O::RBModusFortgeschrittener);
  EXPECT_EQ(radioNachbar(O::RBModusExperte, true, alle), O::RBModusAnfaenger);
  EXPECT_EQ(radioNachbar(O::RBModusAnfaenger, false, alle), O::RBModusExperte);
  EXPECT_EQ(radioNachbar(O::RBnichtverlinken, true, ohneLink), O::RBProBildEineHTMLDatei);
  EXPECT_EQ(radioNachbar(O::RBLinkAufBilddatei, true, [](O o) { return o == O::RBLinkAufBilddatei; }),
            O::RBLinkAufBilddatei);
  // Groups that share a page stay apart; a check box has no group.
  EXPECT_EQ(radioNachbar(O::RBVorschauQuadratisch, true, alle), O::RBLaengereSeite);
  EXPECT_EQ(radioNachbar(O::CBTypJpg, true, alle), O::CBTypJpg);
}

}  // namespace
}  // namespace mosaik
