/*
 * One ordered record of the messages that chosen windows receive, checked
 * against expected-sequence tables in the manner of Wine's message tests
 * (ok_sequence): a test says which windows to record and which kinds of
 * message, acts, then compares what arrived with a table.
 */
#ifndef KESTRUM_TESTS_MESSAGE_RECORDER_H
#define KESTRUM_TESTS_MESSAGE_RECORDER_H

#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <vector>

struct SeenMessage {
    HWND window;
    UINT message;
    WPARAM wParam; /* WM_COMMAND: the command (its low word) */
    int code;      /* WM_NOTIFY: the notification's code; else 0 */
};

/* Records the messages of those kinds that window receives from now on.
 * With keep, they are recorded and kept from the window (for commands whose
 * action would reach outside the test, such as a soft reset). */
void RecordMessages(HWND window, std::initializer_list<UINT> kinds, bool keep = false);
void StopRecording(HWND window);

/* Everything recorded so far, in order of arrival, and forgetting it. */
const std::vector<SeenMessage> &SeenMessages(void);
void ForgetSeenMessages(void);

/* How many recorded messages match. */
int CountSeen(HWND window, UINT message, WPARAM wParam, int code = 0);

/* One row of an expected sequence: the message, its wParam (WM_COMMAND: the
 * command) and WM_NOTIFY's code. */
struct ExpectedMessage {
    UINT message;
    WPARAM wParam;
    int code;
};

/* Passes when window's recorded messages are exactly the table, in order;
 * otherwise names the first row that differs. */
testing::AssertionResult SeenSequence(HWND window, const std::vector<ExpectedMessage> &expected);

/* Dispatches every message waiting for this thread; returns whether WM_QUIT was among them. */
bool PumpMessages(void);

/* Pumps this thread's messages until condition holds, for what another
 * process or the X server settles in its own time; false if it never did
 * within the wait bound. */
bool PumpUntil(const std::function<bool()> &condition);

#endif
