#pragma once
// Reading form descriptions into components.
//
//   object Form1: TForm1
//     Caption = 'Calculator'
//     Font.Name = 'MS Sans Serif'
//     OnCreate = FormCreate
//     object Button1: TButton
//       Font = ( Name = 'Arial' Height = -13 )
//       OnClick = Button1Click
//     end
//   end
//
// The root block describes an existing component; the text must name its
// class or one of its ancestors, and the root takes the name given. Every
// nested "object Name: TClass" block creates a component of a registered class
// with the root as owner; a component that has a visual parent gets the
// enclosing object as parent (SetParentComponent) before its properties are
// read. Property names, class names, keywords, enumeration and colour names
// and handler names are matched without regard to case.
//
// Properties are set in the order of the text, through their setters, while
// csLoading is set on the root and on every created component. Component
// references (a writable TComponent* property naming a component of the root,
// "nil" for none) may point forward and are set after the whole text was read.
// Then Loaded() runs once for each component, the root first, then the
// created components in creation order.
//
// Any error raises EReadError "<description>(<line>,<column>): <object path>.
// <property>: <problem>", for example
//   TFORM1(12,17): Form1.Button1.Font.Height: 'abc' is not a valid integer value
// The components created so far are freed and no loading flag stays set; the
// root keeps the properties already assigned to it. An exception raised by a
// Loaded() override propagates as it is, after the loading flags of all
// components were cleared; the components stay with the root that owns them.

#include <QString>

#include "platform/core/component.h"

// Reads the description stored in the resource `resourceName` (looked up
// without regard to case, see FindFormResource). Raises EResNotFound
// "Resource <name> not found" when there is none.
void ReadComponentRes(const QString& resourceName, TComponent* root);
// Reads `text` into `root`; `descriptionName` names the text in messages.
void ReadComponentFromText(const QString& text, TComponent* root, const QString& descriptionName);

// The resource path of a form description: a file under ":/" whose name, or
// whose name without its extension, equals `name` without regard to case (an
// exact file-name match wins). Empty if none.
QString FindFormResource(const QString& name);
