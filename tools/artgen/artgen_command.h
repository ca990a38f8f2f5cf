// The artgen command:
//
//   artgen [--game abelha|carro|barco|menina] [--pictures DIR] [--lists DIR]
//          [--preview PNG [--steps N] [--idle]]
//   artgen splash|adult|menu|dialog DIR
//
// The game is abelha unless another is named.
// --pictures writes every picture as an 8-bit BMP into DIR together with
// DIR/members.txt, the list of the files written, for "ffpack OUT @LIST".
// --lists writes BACKLIST.txt, MIDLIST.txt, FORELIST.txt and SURFLIST.txt,
// the plane lists that go with exactly these tiles (the build compiles
// them into the program).
// --preview draws the composed scene after N voiced steps (or idle ones,
// with --idle).  The second form writes one of the other picture sets
// (tools/artgen/picture_sets.h) into DIR.  Output is the same, byte for
// byte, every run.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace artgen {

// args excludes the program name.  Returns the exit code: 0 when all was
// written, 1 with a message on err otherwise.
int runArtgen(const std::vector<std::string>& args, std::ostream& err);

}  // namespace artgen
