#pragma once

#include <string>

class TForm1;
struct TStoredForm;

// The pictures with words in the languages that have their own, carried beside the stored form
// (packed from assets/form/LanguagePictures.txt): one component per language, named by its code,
// with one item per picture it replaces, giving the image list (List), the picture's index in it
// (Index) and the picture (Picture.Data).
const TStoredForm& LanguagePictures();

// Gives the form's image lists the pictures of `language` ("en", or "en_GB", which falls back to
// "en") in place of the stored ones, in the same size and layout; a language without pictures of
// its own keeps the stored (Russian) ones. Raises EReadError for an item that names no picture of
// the form or holds no picture.
void UseLanguagePictures(TForm1& form, const std::string& language, const TStoredForm& pictures = LanguagePictures());
