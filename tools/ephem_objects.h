// celvane-ephem --object KEY and --list FILE: any selectable object by its
// persistent key ("Mars", "Star4126", "ConOri", "Obj12,Messier",
// "AC1P,Comets"), and the objects of a user-object or comet file.
#pragma once

#include <string>

namespace Calc {
class Ephemeris;
}

// Loads the shipped files "Messier", "Caldwell", "Asteroids" and "Comets" as
// the program does at its first start (from the data folder, else beside
// the program; a file that fails is left out), the file a key names, and
// the star catalogues; then prints the object's name, second line,
// magnitude, distance and position data. 0, or 1 when the key names nothing.
int PrintObject(const std::string& key, Calc::Ephemeris& ephemeris, bool json);

// Loads one user-object (".puo") or comet (".pco") file and prints its
// objects with their keys; a name with neither extension is looked for as a
// user-object file first. A path ("./Mpc.pco", "/tmp/x/Mpc.pco", or a name
// that exists as a file in the current folder) is read from where it is.
// 0, or 1 when the file cannot be loaded.
int PrintObjectList(const std::string& file, Calc::Ephemeris& ephemeris, bool json);
