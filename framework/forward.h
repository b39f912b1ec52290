#pragma once

// Forward declarations of the document/view layer, for headers that only
// pass pointers around.

class Application;
class ChildFrame;
class CommandRouter;
class CommandTarget;
class DocTemplate;
class Document;
class MdiFrame;
class MemoryResources;
class Prompts;
class RecentFileList;
class SingleInstance;
class UiResources;
class View;
struct CommandState;
