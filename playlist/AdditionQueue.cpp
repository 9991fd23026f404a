#include "AdditionQueue.h"

void AdditionQueue::enqueue(Addition addition)
{
    _totalPaths += addition.paths.size();
    _waiting.enqueue(std::move(addition));
}

void AdditionQueue::begin(const Addition &addition)
{
    _totalPaths += addition.paths.size();
    _running = true;
}

std::optional<AdditionQueue::Addition> AdditionQueue::beginNext()
{
    if (_waiting.isEmpty())
        return std::nullopt;
    _running = true;
    return _waiting.dequeue();
}

void AdditionQueue::finish()
{
    _running = false;
    if (_waiting.isEmpty()) {
        _startedPaths = 0;
        _totalPaths = 0;
    }
}
