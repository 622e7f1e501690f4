#pragma once

#include "editor/progressdisplay.h"
#include "editor/songtablestate.h"
#include "editor/userquestions.h"

// A front end that has all three parts the controllers talk to, in one object (the terminal,
// the tests' scripted fake). The controllers take the parts they use; a front end whose parts
// live in different objects (the window's dialogs, bottom bar and table) hands those over
// one by one.
class UserInterface : public UserQuestions, public ProgressDisplay, public SongTableState {
};
