#pragma once

// Told by the run engine when a run has finished and its report line was written.
class RunOwner
{
public:
    virtual ~RunOwner() = default;
    virtual void OnRunFinished() = 0;
};
