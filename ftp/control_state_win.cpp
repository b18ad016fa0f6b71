// The shared state of the control channel. Kept apart from the code that
// uses it so the socket wait layer links without the rest of the session.
#include "ftp/control.h"

SOCKET ControlSocket = NO_SOCKET;
BOOL Connected;
volatile LONG CommandBusy;
volatile BOOL CommandLock;
volatile BOOL CancelFlag;
volatile BOOL AbortFlag;
thread_local int LastReplyCode;
thread_local char ReplyText[REPLY_TEXT_SIZE];
PendingBytes PendingText;
int RepliesOwed;
int ReplyDepth;
int ReplyTimeout = 120;
BOOL DetectFromReplies;
int TimerCountdown;
