// The arrow keys among radio buttons: the next member of the group in its
// order, round the ends, over the members that cannot be chosen.
#include <gtest/gtest.h>

#include <set>

#include "ui/Tastatur.h"

namespace mosaik {
namespace {

TEST(Tastatur, PfeiltastenWandernImRadiokreis) {
  using O = Opt;
  struct Zeile {
    O von;
    bool vorwaerts;
    std::set<O> gesperrt;
    O nach;
  };
  for (const Zeile& z : std::vector<Zeile>{
           {O::RBModusAnfaenger, true, {}, O::RBModusFortgeschrittener},
           {O::RBModusExperte, true, {}, O::RBModusAnfaenger},
           {O::RBModusAnfaenger, false, {}, O::RBModusExperte},
           {O::RBnichtverlinken, true, {O::RBLinkAufBilddatei}, O::RBProBildEineHTMLDatei},
           {O::RBProBildEineHTMLDatei, false, {O::RBLinkAufBilddatei, O::RBnichtverlinken}, O::RBProBildEineHTMLDatei},
           // Groups that share a page stay apart.
           {O::RBVorschauQuadratisch, true, {}, O::RBLaengereSeite},
           {O::RBNavGrGrafiklinks, true, {}, O::RBNavGrTextlinks},
           // A check box has no group.
           {O::CBTypJpg, true, {}, O::CBTypJpg},
       }) {
    EXPECT_EQ(radioNachbar(z.von, z.vorwaerts, [&](O o) { return !z.gesperrt.count(o); }), z.nach)
        << info(z.von).name << (z.vorwaerts ? " vor" : " zurück");
  }
}

}  // namespace
}  // namespace mosaik
