#pragma once
// The classes a panel file may name. RegisterPanelClasses() brings up the
// library units that register their own classes and registers the panel's
// (the root form, the published timer, the control bases); it is the one
// place where a new instrument family is added. Safe to call more than once.

void RegisterPanelClasses();
