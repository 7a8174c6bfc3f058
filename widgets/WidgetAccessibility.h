#pragma once

// Tells assistive technology what our own controls are: a picture or panel used as a button
// is a push button with a press action that does what a click does, the gauge is a progress
// bar with its value, a picture is a graphic, and a named panel is a pane. The controls call
// this as they are made; it registers the accessibility factory once.
void installWidgetAccessibility();
