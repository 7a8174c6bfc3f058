#pragma once

class QuizScreen;

// Tells assistive technology what the cabinet's controls are: the answer buttons, START,
// STOP, the OK buttons and the Clear buttons of the player entry are push buttons with a
// press action; each panel is named by the heading it shows (the Ready panel by "Get ready" or,
// when a player is out, "Game over").
void describeForAssistiveTechnology(QuizScreen& screen);
