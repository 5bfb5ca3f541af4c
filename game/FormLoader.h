#pragma once

struct TStoredForm;
class TForm1;

// Creates the form's components from its stored state and gives each its stored settings,
// then ends their loading. Raises EReadError for anything the form cannot hold, and the
// pictures' own errors ("DIB is invalid") for damaged picture data.
void LoadForm(TForm1& form, const TStoredForm& stored);
