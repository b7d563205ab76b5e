#pragma once
// The Up and Down keys of the data-entry forms, which move between fields.
class QEvent;

// +1 for Down, -1 for Up, 0 for any other event.
int VerticalStep(const QEvent* event);
