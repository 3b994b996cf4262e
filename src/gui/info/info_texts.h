#pragma once
// The fixed texts of the information windows, one place each. Every entry of a list is one
// line of the window's text box; an empty string is an empty line. The boxes wrap long lines
// to their width.

#include <array>
#include <string_view>

namespace fetaldose::gui::info_texts {

inline constexpr std::string_view kInstructionsCaption = "Instructions";
inline constexpr std::string_view kLicenceCaption = "Licence";
inline constexpr std::string_view kContactCaption = "Contact Information";
inline constexpr std::string_view kAboutCaption = "About";
inline constexpr std::string_view kPdfCaption = ".pdf file";
inline constexpr std::string_view kReferenceCdCaption = "How to reference this CD";
inline constexpr std::string_view kReferencePublicationCaption = "How to reference VORQ 47";

inline constexpr std::array<std::string_view, 21> kInstructions = {
    "How to use this software",
    "",
    "1. Select a radionuclide either from the list or by typing in the required name in the "
    "'select' ",
    "box.  Double-click on the radionuclide to add it, or select with the mouse and press enter.",
    "",
    "2. Choose the subject(s).  It can be a worker (occupational), a member of the public or "
    "both.",
    "",
    "3.  Select the intake route(s).",
    "",
    "4. If you have chosen inhalation select the appropriate aerosol size(s) (AMAD, microns).",
    "",
    "5. Choose which intake scenarios are required: all acute scenarios; all chronic scenarios; "
    "or ",
    "select from the lists.",
    "",
    "6. Choose which post-natal integration periods are required: all times; or select from the "
    "list.",
    "",
    "7. Choose which tissue doses are required: all tissues; or select from the list.",
    "",
    "8. Option files can be saved for future use.",
    "",
    "9. Results can be saved in ASCII form, or printed from the Dose Coefficients viewer.",
};

inline constexpr std::array<std::string_view, 3> kPdfNote = {
    "A .pdf file of the corrected version of VORQ Publication 47",
    "is supplied on the CD-ROM that distributes the data set.",
    "It is not part of the synthetic sample data set.",
};

inline constexpr std::array<std::string_view, 9> kContact = {
    "Enquiries should be sent to:",
    "",
    "The Scientific Secretariat",
    "of the body that issues the data set",
    "(its postal address is given in the",
    "documentation of the data set)",
    "",
    "E-mail: see the documentation of the data set",
    "Web site: see the documentation of the data set",
};

inline constexpr std::string_view kRightsHolder =
    "Copyright \u00a9 VORQ, the body that issues the data set. All rights reserved.";

inline constexpr std::array<std::string_view, 13> kLicence = {
    "VORQ Embryo/Fetus CD-ROM, first edition, version 1.0 (fetaldose 1.0)",
    kRightsHolder,
    "",
    "Permission to use, copy and distribute this software and its documentation for "
    "educational, research and not-for-profit purposes, without fee and without a signed "
    "licensing agreement, is hereby granted, provided that the above copyright notice, this "
    "paragraph and the following two paragraphs appear in all copies, modifications and "
    "distributions.",
    "",
    "IN NO EVENT SHALL THE RIGHTS HOLDER, THE MEMBERS OF THE TASK GROUP OR THE AUTHORS OF THIS "
    "SOFTWARE BE LIABLE TO ANY PARTY FOR DIRECT, INDIRECT, SPECIAL, INCIDENTAL OR CONSEQUENTIAL "
    "DAMAGES, INCLUDING LOST PROFITS, ARISING OUT OF THE USE OF THIS SOFTWARE, ITS DATA AND ITS "
    "DOCUMENTATION, EVEN IF THEY HAVE BEEN ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.",
    "",
    "THE RIGHTS HOLDER, THE MEMBERS OF THE TASK GROUP AND THE AUTHORS OF THIS SOFTWARE "
    "SPECIFICALLY DISCLAIM ANY WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED "
    "WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE. THE SOFTWARE, ITS DATA "
    "AND ITS DOCUMENTATION ARE PROVIDED \"AS IS\", AND THERE IS NO OBLIGATION TO PROVIDE "
    "MAINTENANCE, SUPPORT, UPDATES, ENHANCEMENTS OR MODIFICATIONS.",
    "",
    "Sample data: the data set generated with this program for trying it out is synthetic. Its "
    "nuclide names and half-lives are real, but every dose coefficient in it is made up and must "
    "never be used for dose assessment.",
    "",
    "Real dose coefficients come only with the data set distributed by the rights holder; its "
    "own terms of use apply to it.",
};

inline constexpr std::array<std::string_view, 10> kAbout = {
    "This CD-ROM was prepared by the members of the task group that computed the dose "
    "coefficients to the embryo, the fetus and the offspring held in its data set:",
    "",
    "Chairman: as named in the documentation of the data set",
    "Members: as named in the documentation of the data set",
    "",
    "The task group acknowledges the technical contributions to the data set and to this "
    "program that are listed in the documentation of the data set.",
    "",
    "This program, fetaldose 1.0, browses that data set.",
    "",
    "The sample data set supplied with the program is synthetic: its dose coefficients are made "
    "up, for trying the program only, and must never be used for dose assessment.",
};

inline constexpr std::array<std::string_view, 1> kAboutRights = {kRightsHolder};

inline constexpr std::array<std::string_view, 5> kReferenceCd = {
    "VORQ (year of issue). VORQ Embryo/Fetus CD-ROM: a database of dose coefficients to the "
    "embryo, the fetus and the offspring from intakes of radionuclides by the mother. "
    "CD-ROM number, version 1.0. Distributor. ISBN.",
    "",
    "The year of issue, the CD-ROM number, the distributor and the ISBN are those printed on "
    "the distributed CD-ROM.",
    "",
    "Results obtained with the synthetic sample data set must not be cited.",
};

inline constexpr std::array<std::string_view, 3> kReferencePublication = {
    "VORQ (year). Dose coefficients to the embryo, the fetus and the offspring from intakes of "
    "radionuclides by the mother. VORQ Publication 47. Journal, volume (issue). Corrected "
    "version of (date).",
    "",
    "The year, the journal's volume and issue and the date of the corrected version are those "
    "given in the printed publication.",
};

}  // namespace fetaldose::gui::info_texts
