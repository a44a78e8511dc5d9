#include "app/screens.h"

#include "engine/grading.h"

// Minimal until the application shell lands.
bool ShowTitleScreen(AppState *) {
    return false;
}
bool StartTest(AppState *) {
    return false;
}
bool ShowResultScreen(AppState *) {
    return false;
}
bool GradeAnswer(AppState *) {
    return false;
}
