#pragma once
// The commands that open the focused object's details window and its advertising file.
struct WindowParts;

class ObjectDetailCommands {
public:
    explicit ObjectDetailCommands(WindowParts &parts) : m_parts(parts) {}

    void ObjDetailAcExecute();
    void ReaklamaAcExecute();

private:
    WindowParts &m_parts;
};
