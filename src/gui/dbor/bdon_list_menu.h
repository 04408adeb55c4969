#pragma once

class WindowHost;

// Rebuilds the host's list of databases (when the database menu opens); the warning the core
// composes goes through the host's message service.
void rebuildBdonList(WindowHost& host);
