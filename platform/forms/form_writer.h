#pragma once
// Writing components as form descriptions (the text ReadComponentFromText
// reads back).
//
// The root is written as "object Name: TClass" with its properties, followed
// by a block for each component it owns that has a name, in ownership order.
// A component whose visual parent (GetParentComponent) is another such
// component is written inside its parent's block, so reading restores the
// parent.
//
// Which properties are written:
//  - every published property (Q_PROPERTY) from TPersistent down, in
//    declaration order, except the component's Name (it is in the header);
//  - not those declared STORED false, nor those for which the class declares
//    Q_CLASSINFO("stored:<Property>", "<method>") and the invokable method
//    `bool method()` returns false;
//  - not a value equal to the declared default Q_CLASSINFO("default:
//    <Property>", "<value as written in a description>"), looked up from the
//    object's class upwards; for a nested object its own class declares them;
//  - nested objects (TPersistent* properties) as dotted names, "Font.Name";
//  - events only when bound by name, as the method name;
//  - component references only to the root or a named component it owns;
//  - properties of types descriptions cannot hold are left out.
//
// Raises EWriteError for a declared default that is not a valid value of its
// property and for a float value that is not finite.

#include <QString>

#include "platform/core/component.h"

QString WriteComponentToText(TComponent* root);
