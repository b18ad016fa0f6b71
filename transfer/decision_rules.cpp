#include "transfer/decision_rules.h"

#include <stdio.h>
#include <string.h>

void FormatStamp(char *out, int size, const StampedEntry *entry)
{
    unsigned year = entry->year < 200 ? entry->year + 1900u : entry->year;
    snprintf(out, (size_t)size, "%04u%02u%02u%02u%02u", year % 10000u, entry->month % 100u,
             entry->day % 100u, entry->hour % 100u, entry->minute % 100u);
}

static int CompareEntries(const StampedEntry *source, const StampedEntry *destination)
{
    if (destination == nullptr || destination->month == 0)
        return OVERWRITE_GO;
    char a[16], b[16];
    FormatStamp(a, sizeof a, source);
    FormatStamp(b, sizeof b, destination);
    int order = strcmp(a, b);
    if (order > 0)
        return OVERWRITE_GO;
    if (order < 0)
        return OVERWRITE_NEWER;
    return source->size == destination->size ? OVERWRITE_SAME : OVERWRITE_GO;
}

int OverwriteNeedsComparison(const OverwriteCase *c)
{
    return (c->folderWalk || c->askOverwrite) && c->source.month != 0;
}

OverwriteDecision DecideOverwrite(const OverwriteCase *c)
{
    OverwriteDecision d = {OVERWRITE_GO, OVERWRITE_GO, 0};
    if (!OverwriteNeedsComparison(c))
        return d;
    d.verdict = CompareEntries(&c->source, c->destination);
    if (d.verdict == OVERWRITE_GO)
        return d;
    if (c->folderWalk) {
        // Never a question inside a folder walk.
        d.answer = c->skipInFolders ? d.verdict : OVERWRITE_GO;
        return d;
    }
    if (c->answerMemory == ANSWER_YES_ALL)
        return d;
    d.answer = d.verdict;
    d.ask = c->answerMemory != ANSWER_NO_ALL;
    return d;
}

int AnswerFromButton(int button, int verdict, int *memory)
{
    switch (button) {
    case OVERWRITE_YES:
        return OVERWRITE_GO;
    case OVERWRITE_YES_ALL:
        *memory = ANSWER_YES_ALL;
        return OVERWRITE_GO;
    case OVERWRITE_NO_ALL:
        *memory = ANSWER_NO_ALL;
        return verdict;
    default:
        return verdict;
    }
}

uint64_t RestartOffset(uint64_t partialSize)
{
    if (partialSize <= 1024)
        return 0;
    return partialSize - partialSize % 1024;
}
