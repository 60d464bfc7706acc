// The parameters of one analysis, with the defaults the window and the batch tool start from.
#pragma once

// Period grid (s) and damping ratio (fraction of critical) of a run.
struct AnalysisSettings {
    double minPeriod = 0.02;   // s
    double maxPeriod = 6.0;    // s
    double periodStep = 0.02;  // s
    double dampingRatio = 0.05;
};
