// The step classes of the wizard, one per step kind.
#pragma once

// Installs the twelve step classes as the makers of CreateStage; call once before a wizard runs.
void InstallStepClasses();
