#pragma once

class AppDelegate;

// The application's delegate, as the drop targets, the overlay and the Timer
// reach it. Empty until launching has made an AppDelegate the delegate.
AppDelegate *applicationDelegate();
void setApplicationDelegate(AppDelegate *delegate);
