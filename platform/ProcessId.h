#pragma once

/// This program's process number, which names what it keeps beside the output folder.
long ProcessId();
